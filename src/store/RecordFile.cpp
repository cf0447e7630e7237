#include "RecordFile.h"

#include "FreshStat.h"
#include "SiteRecord.h"

#include <QFile>

#include <QDeadlineTimer>
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
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool RecordFile::open(const QString& path, Access access)
{
    close();
    const QByteArray name = QFile::encodeName(path);
    bool created = false;
    do {
        m_fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
        if (m_fd < 0 && errno == ENOENT) {
            m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
            created = m_fd >= 0;
        }
    } while (m_fd < 0 && (errno == EINTR || errno == EEXIST));
    if (created) {
        syncFolder(name);
    }
    if (m_fd < 0 && access == Access::Read && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        // Not blocking: a pipe in the file's place must not wait for a writer.
        do {
            m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
        if (m_fd >= 0) {
            ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
        }
    }
    if (m_fd < 0) {
        return false;
    }
    const QDeadlineTimer deadline(2000);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
            close();
            return false;
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

bool RecordFile::countAll(qint64& records) const
{
    struct stat info;
    if (m_fd < 0 || !FreshStat::of(m_fd, info) || !S_ISREG(info.st_mode)) {
        return false;
    }
    records = info.st_size / SiteRecord::Length;
    return true;
}

bool RecordFile::count(qint16& records) const
{
    qint64 all = 0;
    if (!countAll(all) || all > 32767) {
        return false;
    }
    records = static_cast<qint16>(all);
    return true;
}

bool RecordFile::readAt(qint64 offset, char* data, qint64 size, qint64& got) const
{
    got = 0;
    while (got < size) {
        const ssize_t n = ::pread(m_fd, data + got, static_cast<size_t>(size - got), offset + got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
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
        return false;
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
        return false;
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

bool RecordFile::write(int slot, const SiteRecord& rec)
{
    return writeBytes(slot, rec.toBytes());
}

bool RecordFile::writeBytes(int slot, const QByteArray& bytes)
{
    if (m_fd < 0 || slot < 1 || bytes.size() != SiteRecord::Length) {
        return false;
    }
    const qint64 offset = qint64(slot - 1) * SiteRecord::Length;
    struct stat info;
    if (!FreshStat::of(m_fd, info)) {
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n
            = ::pwrite(m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += n;
    }
    if (done == bytes.size() && ::fdatasync(m_fd) == 0) {
        return true;
    }
    // An append that did not make it (a full disk) leaves no piece of the entry behind.
    if (offset + bytes.size() > info.st_size) {
        ::ftruncate(m_fd, info.st_size);
    }
    return false;
}

void RecordFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
