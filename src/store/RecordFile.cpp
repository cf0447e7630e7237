#include "RecordFile.h"

#include "FreshStat.h"
#include "Posix.h"
#include "SiteRecord.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The new file's name reaches the disk with its folder: synced, it outlasts a power cut. Only a
// descriptor opened for reading can be synced.
void syncFolder(const QByteArray& path)
{
    const int fd = ::open(Posix::folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::fail(FileFailure::Step step, int error) const
{
    m_failure = FileFailure::at(step, error, m_path);
    return false;
}

bool RecordFile::open(const QString& path, Access access)
{
    close();
    m_path = path;
    m_readOnly = {};
    const QByteArray name = QFile::encodeName(path);
    if (access == Access::Read) {
        // Closing a file opened for reading tells a watch of the folder nothing.
        m_fd = openForReading(name);
        if (m_fd >= 0) {
            return lock(LOCK_SH);
        }
        if (errno != ENOENT) {
            return fail(FileFailure::Step::Open, errno);
        }
    }
    bool created = false;
    do {
        m_fd = Posix::retried([&] { return ::open(name.constData(), O_RDWR | O_CLOEXEC); });
        if (m_fd < 0 && errno == ENOENT) {
            m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
            created = m_fd >= 0;
        }
    } while (m_fd < 0 && (errno == EINTR || errno == EEXIST));
    if (created) {
        syncFolder(name);
    }
    const int refused = errno;
    if (m_fd < 0 && (refused == EACCES || refused == EROFS || refused == EPERM)) {
        m_fd = openForReading(name);
        if (m_fd >= 0) {
            m_readOnly = FileFailure::at(FileFailure::Step::Open, refused, path);
            m_failure = m_readOnly;
        }
    }
    if (m_fd < 0) {
        return fail(FileFailure::Step::Open, refused);
    }
    return lock(LOCK_EX);
}

int RecordFile::openForReading(const QByteArray& name)
{
    // Not blocking: a pipe in the file's place must not wait for a writer.
    const int fd = Posix::retried([&] { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

bool RecordFile::lock(int operation)
{
    const QDeadlineTimer deadline(2000);
    while (::flock(m_fd, operation | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
            const int error = errno;
            close();
            return fail(FileFailure::Step::Lock, error);
        }
        QThread::msleep(5);
    }
    return true;
}

void RecordFile::unlock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
    }
}

bool RecordFile::count(qint64& records) const
{
    struct stat info;
    if (m_fd < 0 || !FreshStat::of(m_fd, info)) {
        return fail(FileFailure::Step::Count, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(FileFailure::Step::Count, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    records = info.st_size / SiteRecord::Length;
    return true;
}

bool RecordFile::readAt(qint64 offset, char* data, qint64 size, qint64& got) const
{
    got = 0;
    while (got < size) {
        const ssize_t n
            = Posix::retried([&] { return ::pread(m_fd, data + got, static_cast<size_t>(size - got), offset + got); });
        if (n < 0) {
            return fail(FileFailure::Step::Read, errno);
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    return true;
}

bool RecordFile::readBytes(int slot, QByteArray& bytes) const
{
    bytes.clear();
    if (m_fd < 0 || slot < 1) {
        return fail(FileFailure::Step::Read, EBADF);
    }
    QByteArray data(SiteRecord::Length, Qt::Uninitialized);
    qint64 got = 0;
    if (!readAt(qint64(slot - 1) * SiteRecord::Length, data.data(), SiteRecord::Length, got)) {
        return false;
    }
    if (got == SiteRecord::Length) {
        bytes = data;
    }
    return true;
}

bool RecordFile::scan(qint64 records, const std::function<bool(int, const char*)>& visit) const
{
    if (m_fd < 0) {
        return fail(FileFailure::Step::Read, EBADF);
    }
    // Some 20 kB at a time: few system calls, and a buffer small enough for the heap to reuse
    // rather than a mapping of its own that adds to the peak beside the list it fills.
    constexpr qint64 chunkRecords = 64;
    QByteArray chunk(chunkRecords * SiteRecord::Length, Qt::Uninitialized);
    for (qint64 first = 0; first < records; first += chunkRecords) {
        const qint64 wanted = qMin(chunkRecords, records - first) * SiteRecord::Length;
        qint64 got = 0;
        if (!readAt(first * SiteRecord::Length, chunk.data(), wanted, got)) {
            return false;
        }
        const qint64 whole = got / SiteRecord::Length;
        for (qint64 i = 0; i < whole; ++i) {
            if (!visit(int(first + i + 1), chunk.constData() + i * SiteRecord::Length)) {
                return true;
            }
        }
        if (got < wanted) {
            break;
        }
    }
    return true;
}

bool RecordFile::writeBytes(int slot, const QByteArray& bytes)
{
    int written = 0;
    return writeRecords({{slot, bytes}}, written);
}

bool RecordFile::writeRecords(const QList<std::pair<int, QByteArray>>& records, int& written)
{
    written = 0;
    if (readOnly()) {
        return fail(m_readOnly.step, m_readOnly.error);
    }
    struct stat info;
    if (m_fd < 0 || !FreshStat::of(m_fd, info)) {
        return fail(FileFailure::Step::Write, m_fd < 0 ? EBADF : errno);
    }
    const qint64 before = info.st_size;
    qint64 size = before;
    int error = 0;
    for (const auto& [slot, bytes] : records) {
        if (slot < 1 || bytes.size() != SiteRecord::Length) {
            error = EBADF;
            break;
        }
        const qint64 offset = qint64(slot - 1) * SiteRecord::Length;
        qint64 done = 0;
        while (done < bytes.size()) {
            const ssize_t n = Posix::retried([&, &bytes = bytes] {
                return ::pwrite(
                    m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), offset + done);
            });
            if (n <= 0) {
                error = n < 0 ? errno : ENOSPC;
                break;
            }
            done += n;
        }
        if (error) {
            // An append that did not make it (a full disk) leaves no piece of the entry behind.
            if (offset + bytes.size() > size) {
                ::ftruncate(m_fd, size);
            }
            break;
        }
        size = qMax(size, offset + bytes.size());
        ++written;
    }
    if (::fdatasync(m_fd) != 0) {
        error = errno;
        written = 0;
        ::ftruncate(m_fd, before);
    }
    return error == 0 || fail(FileFailure::Step::Write, error);
}

void RecordFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
