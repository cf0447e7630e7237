#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

struct SiteRecord;

// The record file's five steps: open, count, read, write, close. Each step reports failure by
// returning false; the routines that use it decide what a failure means.
class RecordFile
{
public:
    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    enum class Access {
        ReadWrite,
        // Reading and writing where the file allows it, else reading alone: a read-only file or
        // medium still lists and shows its entries.
        Read,
    };

    // Opens for reading and writing, creating an empty owner-only file when there is none, and
    // takes an exclusive lock on it, so that a second copy of the program waits its turn. A lock
    // that cannot be had within about two seconds fails the open.
    bool open(const QString& path, Access access = Access::ReadWrite);
    // Lets another copy of the program at the file, for instance while a message is shown.
    void unlock();

    // Whole records in the file; a count above 32,767 does not fit the 16-bit count and fails.
    bool count(qint16& records) const;
    // Whole records in the file, however many.
    bool countAll(qint64& records) const;

    // The slot's bytes as stored; empty for a slot past the end of the file, which is no error.
    bool readBytes(int slot, QByteArray& bytes) const;
    // Calls `visit(slot, bytes)` for the first `records` slots (fewer if the file is shorter),
    // reading the file in large chunks, until `visit` returns false.
    bool scan(qint64 records, const std::function<bool(int, const char*)>& visit) const;

    // The record reaches the disk before this returns.
    bool write(int slot, const SiteRecord& rec);
    bool writeBytes(int slot, const QByteArray& bytes);

    // Closing a file that is not open is no error.
    void close();

private:
    bool readAt(qint64 offset, char* data, qint64 size, qint64& got) const;

    int m_fd = -1;
};
