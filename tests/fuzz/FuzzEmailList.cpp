// libFuzzer target: any bytes as the e-mail list file. Every line read can be written back and
// reads back as one line.
#include "Gbk.h"
#include "TextFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = TextFile::splitLines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QByteArray written;
    for (const QString& line : lines) {
        Gbk::trimBlanks(line);
        written += Gbk::encode(line) + "\r\n";
    }
    if (TextFile::splitLines(written).size() != lines.size()) {
        std::abort();
    }
    return 0;
}
