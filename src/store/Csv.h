#pragma once

#include <QByteArray>
#include <QList>

// Comma-separated values as RFC 4180 has them: quoted fields, doubled quotes, commas and line breaks
// inside quotes, rows ended by CR LF, LF or CR. The bytes are split before they are decoded: the
// quote, the comma and the line ends are never part of a UTF-8 or GBK character, so one reader
// serves both, and the encoding is chosen for the whole file afterwards.
namespace Csv {

struct Row
{
    // The line the row starts on, the first line being 1.
    int line = 0;
    QList<QByteArray> fields;
};

// Every row but empty lines. A quote left open runs to the end of the file; text after a closing
// quote belongs to the field, as spreadsheets read it.
QList<Row> parse(const QByteArray& bytes);

// One field, quoted where it holds a quote, a comma or a line break.
QByteArray field(const QByteArray& text);

} // namespace Csv
