#pragma once

#include <QString>
#include <QStringList>

// Small GBK text files of CR LF lines.
namespace TextFile {

// The lines of a file's bytes: a line ends at CR LF, CR or LF.
QStringList splitLines(const QByteArray& bytes);

// The first line of a file's bytes.
QString firstLine(const QByteArray& bytes);

// The whole file as it is stored. A missing or unreadable file fails; then `bytes` is left empty.
bool readAll(const QString& path, QByteArray& bytes);

// Every line of the file. A line ends at CR LF, CR or LF, so files from any editor read alike.
// A missing or unreadable file fails; then `lines` is left empty.
bool readLines(const QString& path, QStringList& lines);

// The first line alone, read no further than its end.
bool readFirstLine(const QString& path, QString& line);

// Replaces the whole file at once: on any failure the old file stays as it was. Only where the
// folder refuses the new file beside the old one is the old file written in place. A new file is
// readable by its owner only.
bool writeLines(const QString& path, const QStringList& lines);

} // namespace TextFile
