#pragma once

#include "FileFailure.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Small GBK text files of CR LF lines, kept as the bytes they hold: a line is decoded only to be
// shown, so a line the user did not change is written back exactly as it was read.
namespace TextFile {

enum class Read {
    Done,
    // No file of that name: an empty file, as far as its reader is concerned.
    Missing,
    // The file is there but cannot be read: it must not be replaced by what little is known of it.
    Failed,
};

// The lines of a file's bytes: a line ends at CR LF, CR or LF, so files from any editor read alike.
QList<QByteArray> splitLines(const QByteArray& bytes);

// The whole file as it is stored; `bytes` is left empty unless it was read, and `error` says why
// not. Anything but a regular file (a pipe, a device) fails at once, without waiting for a writer.
Read readAll(const QString& path, QByteArray& bytes, int& error);

// The first line alone, read no further than its end.
Read readFirstLine(const QString& path, QByteArray& line);

// Each line followed by CR LF.
QByteArray joinLines(const QList<QByteArray>& lines);

// Replaces the whole file at once, synced with its folder: on any failure the old file stays as it
// was. A symbolic link is followed to its target and stays a link; a file with other names (hard
// links) is written in place, so that every name sees the new content; anything but a regular
// file is refused, and so is a file the user may not write. Only where the folder refuses the new
// file beside the old one is the old file written in place. A new file is readable by its owner
// only; a replaced one keeps its mode, and its owner and group where they can be set.
FileFailure write(const QString& path, const QByteArray& bytes);

} // namespace TextFile
