// libFuzzer target: any bytes as a record file. An update rewrites only the chosen slot's user ID,
// password and address (its description stays byte for byte), an erase only the chosen slot, and
// the quick free-slot test agrees with the decoded description.
#include "FuzzFolder.h"
#include "Gbk.h"
#include "SiteRecord.h"
#include "SiteStore.h"

#include <cstdint>

namespace {

// The file with slot `slot` replaced by `bytes` from `from` on.
QByteArray withSlot(QByteArray file, int slot, int from, const QByteArray& bytes)
{
    file.replace(qsizetype(slot - 1) * SiteRecord::Length + from, bytes.size(), bytes);
    return file;
}

QByteArray recNo(int slot)
{
    return QByteArray(1, char(slot & 0xFF)) + char(slot >> 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    for (qsizetype offset = 0; offset + SiteRecord::Length <= input.size(); offset += SiteRecord::Length) {
        const char* slot = input.constData() + offset;
        const bool deleted = Gbk::trimBlanks(SiteRecord::name(slot)) == SiteRecord::DeletedMarker;
        if (SiteRecord::isDeletedSlot(slot) != deleted) {
            std::abort();
        }
    }
    const int records = int(input.size() / SiteRecord::Length);
    if (records == 0) {
        return 0;
    }
    FuzzFolder folder;
    const QString path = folder.put("Sitewarden2.dta", input);
    SiteStore store(folder.folder);
    const SiteList list = store.list();
    const int chosen = 1 + int(size % size_t(records));
    const ShownSlot shown = store.show(ShownSlot::ofLine(chosen - 1, list.lines.field(chosen - 1))).shown;

    const SiteStore::Result updated
        = store.update(shown, {{}, QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("w")});
    const QByteArray fields = RecordFiles::field("u", 35) + RecordFiles::field("p", 35) + RecordFiles::field("w", 200);
    const QByteArray expected = withSlot(withSlot(input, chosen, 0, recNo(chosen)), chosen, 37, fields);
    if (updated.outcome != SiteStore::Result::Outcome::Done || RecordFiles::read(path) != expected) {
        std::abort();
    }

    const SiteStore::Result erased = store.erase(updated.shown);
    const QByteArray marker = recNo(chosen) + RecordFiles::field("(Deleted)", 35) + QByteArray(270, ' ');
    if (erased.outcome != SiteStore::Result::Outcome::Done
        || RecordFiles::read(path) != withSlot(expected, chosen, 0, marker)) {
        std::abort();
    }
    return 0;
}
