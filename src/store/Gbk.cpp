#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char* const codecName = "GBK";

bool isAscii(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

// GBK lead bytes run from 0x81 to 0xFE and always take one trail byte; 0x80 is the euro sign.
int charLength(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE ? 2 : 1;
}

// ASCII is its own GBK: most fields are, and opening ICU's converter costs more than the field.
bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// Encoding is lazy: the error flag is only meaningful once the bytes exist.
bool encodeExactly(const QString& text, QByteArray& bytes)
{
    if (isAscii(text)) {
        bytes = text.toLatin1();
        return true;
    }
    QStringEncoder encoder(codecName);
    bytes = encoder.encode(text);
    return !encoder.hasError();
}

// The text or bytes without leading and trailing blanks (the space character only).
template<typename Text> Text withoutBlanks(const Text& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

} // namespace

namespace Gbk {

QByteArray encode(const QString& text)
{
    if (isAscii(text)) {
        return text.toLatin1();
    }
    // A fresh encoder each time: Qt 6.4 keeps error state across calls.
    QStringEncoder encoder(codecName);
    return QByteArray(encoder.encode(text));
}

QString decode(const char* data, qsizetype size)
{
    if (isAscii(data, size)) {
        return QString::fromLatin1(data, size);
    }
    // A line feed after the text makes the decoder answer for a lone lead byte at its end (as U+FFFD)
    // instead of keeping it back for a trail byte that never comes; it always decodes to itself.
    QByteArray bytes(data, size);
    bytes.append('\n');
    QStringDecoder decoder(codecName);
    QString text = decoder.decode(bytes);
    text.chop(1);
    return text;
}

bool canEncode(const QString& text)
{
    QByteArray bytes;
    return encodeExactly(text, bytes);
}

bool fits(const QString& text, int width)
{
    QByteArray bytes;
    return encodeExactly(text, bytes) && bytes.size() <= width;
}

QByteArray encodeField(const QString& text, int width)
{
    const QByteArray bytes = encode(text.left(width));
    int kept = 0;
    while (kept < bytes.size()) {
        const int next = kept + charLength(static_cast<unsigned char>(bytes[kept]));
        if (next > width) {
            break;
        }
        kept = next;
    }
    QByteArray field = bytes.left(kept);
    field.append(width - kept, ' ');
    return field;
}

QString decodeField(const char* data, int width)
{
    int size = width;
    while (size > 0 && data[size - 1] == '\0') {
        --size;
    }
    return decode(data, size);
}

QString trimBlanks(const QString& text)
{
    return withoutBlanks(text);
}

QByteArray trimBlanks(const QByteArray& bytes)
{
    // A blank is never the trail byte of a GBK character, so the bytes trim as their text does.
    return withoutBlanks(bytes);
}

} // namespace Gbk
