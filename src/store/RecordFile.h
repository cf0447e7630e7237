#pragma once

#include "FileFailure.h"
#include "FileStamp.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <utility>

// The record file's steps: open, count, read, write, close. Each step reports failure by returning
// false, and failure() then says which step failed and why; the store decides what it means.
class RecordFile
{
public:
    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    enum class Access { ReadWrite, Read };

    // ReadWrite: opens for reading and writing, creating an empty owner-only file when there is none,
    // or for reading alone where the file or its medium may not be written, so that its entries are
    // still listed; an exclusive lock, so that a second copy of the program waits its turn. Read: for
    // reading alone, under a shared lock (a file that is not there yet is made as for ReadWrite). A
    // lock that cannot be had within about two seconds fails the open.
    bool open(const QString& path, Access access = Access::ReadWrite);
    // Open for reading alone: failure() says why it may not be written.
    bool readOnly() const { return m_readOnly.failed(); }
    // Lets another copy of the program at the file.
    void unlock();

    // The open file's stamp, as it is now.
    FileStamp stamp() const { return FileStamp::ofOpen(m_fd); }

    // Whole records in the file, however many.
    bool count(qint64& records) const;

    // The slot's bytes as stored; empty for a slot past the end of the file, which is no error.
    bool readBytes(int slot, QByteArray& bytes) const;
    // Calls `visit(slot, bytes)` for the first `records` slots (fewer if the file is shorter),
    // reading the file in large chunks, until `visit` returns false.
    bool scan(qint64 records, const std::function<bool(int, const char*)>& visit) const;

    // The record reaches the disk before this returns; an append that does not leaves nothing behind.
    bool writeBytes(int slot, const QByteArray& bytes);
    // The records, in order, each into its slot, reach the disk together before this returns, with
    // one sync for them all. `written`: how many of them did; an append that did not leaves nothing.
    bool writeRecords(const QList<std::pair<int, QByteArray>>& records, int& written);

    // Closing a file that is not open is no error.
    void close();

    FileFailure failure() const { return m_failure; }

private:
    static int openForReading(const QByteArray& name);
    bool lock(int operation);
    bool fail(FileFailure::Step step, int error) const;
    bool readAt(qint64 offset, char* data, qint64 size, qint64& got) const;

    QString m_path;
    int m_fd = -1;
    FileFailure m_readOnly;
    mutable FileFailure m_failure;
};
