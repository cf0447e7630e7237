#pragma once

#include <QByteArray>
#include <QString>

// Text in the files is GBK (Windows code page 936).
namespace Gbk {

QByteArray encode(const QString& text);
QString decode(const char* data, qsizetype size);

// True when GBK holds every character of the text.
bool canEncode(const QString& text);

// True when the text encodes without loss in at most `width` bytes.
bool fits(const QString& text, int width);

// A blank-padded field of exactly `width` bytes holding the start of the text; a double-byte
// character that would straddle the end is dropped whole.
QByteArray encodeField(const QString& text, int width);

// The text of a blank-padded field; trailing NUL bytes (a field never written) are not text.
QString decodeField(const char* data, int width);

// The text without leading and trailing blanks (the space character only).
QString trimBlanks(const QString& text);
QByteArray trimBlanks(const QByteArray& bytes);

} // namespace Gbk
