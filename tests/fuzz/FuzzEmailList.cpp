// libFuzzer target: any bytes as the e-mail list file. A save adds exactly its one line and an
// erase removes exactly the chosen one: every other address comes back byte for byte.
#include "EmailList.h"
#include "FuzzFolder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFolder folder;
    const QString path = folder.put("Email.dta", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QList<QByteArray> expected;
    for (const QByteArray& line : trimmedLines(RecordFiles::read(path))) {
        if (!line.isEmpty()) {
            expected.append(line);
        }
    }
    EmailList list(folder.folder);
    if (list.load().size() != expected.size()) {
        std::abort();
    }
    const bool saved = list.save(QStringLiteral(" new@x.org ")).outcome == EmailList::Result::Outcome::Done;
    QByteArray written;
    for (const QByteArray& line : expected) {
        written += line + "\r\n";
    }
    if (!saved || RecordFiles::read(path) != written + " new@x.org \r\n") {
        std::abort();
    }
    const int chosen = int(size % (expected.size() + 1));
    expected.append("new@x.org");
    const bool erased = list.erase(chosen).outcome == EmailList::Result::Outcome::Done;
    expected.removeAt(chosen);
    written.clear();
    for (const QByteArray& line : expected) {
        written += line + "\r\n";
    }
    if (!erased || RecordFiles::read(path) != written + "\r\n") {
        std::abort();
    }
    return 0;
}
