// libFuzzer target: any bytes as the default user ID file. The first line is the first of the
// lines the e-mail reader would see.
#include "TextFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (TextFile::firstLine(bytes) != TextFile::splitLines(bytes).value(0)) {
        std::abort();
    }
    return 0;
}
