// libFuzzer target: any bytes as the default user ID file. Closing the dialog without a change
// writes back the first line's bytes, without their blanks, whatever they decode to.
#include "DefaultUserIdFile.h"
#include "FuzzFolder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFolder folder;
    const QString path = folder.put("default.dta", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QByteArray first = trimmedLines(RecordFiles::read(path)).value(0);
    DefaultUserIdFile defaultUserId(folder.folder);
    const QString shown = defaultUserId.load();
    if (!defaultUserId.canStore(shown) || defaultUserId.store(shown).outcome != DefaultUserIdFile::Result::Outcome::Done
        || RecordFiles::read(path) != first + "\r\n") {
        std::abort();
    }
    return 0;
}
