#pragma once

#include <QString>
#include <QtGlobal>

// What tells one state of a file from the next without reading it: its inode, size and time of last
// change, asked of the file system afresh. A sync tool that renames another machine's version into
// place gives a new inode; a copy of the program that writes in place, a new time.
struct FileStamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    static FileStamp of(const QString& path);
    static FileStamp ofOpen(int fd);

    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};
