#include "TextFile.h"

#include "FreshStat.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {

namespace {

// Calls `take` with each line of `bytes` until it returns false.
template<typename Take> void forEachLine(const QByteArray& bytes, Take take)
{
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\r' && data[end] != '\n') {
            ++end;
        }
        if (!take(bytes.mid(start, end - start))) {
            return;
        }
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
}

// The first line of a file's bytes.
QByteArray firstLine(const QByteArray& bytes)
{
    QByteArray line;
    forEachLine(bytes, [&](QByteArray first) {
        line = std::move(first);
        return false;
    });
    return line;
}

// A descriptor that closes itself.
class Fd
{
public:
    explicit Fd(int fd = -1)
        : m_fd(fd)
    { }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd;
};

template<typename Call> auto retried(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// Opens a data file for reading without ever blocking: a pipe or a device in its place is no file.
Read openForReading(const QString& path, Fd& fd)
{
    const QByteArray name = QFile::encodeName(path);
    fd.reset(retried([&] { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }));
    if (fd.get() < 0) {
        return errno == ENOENT ? Read::Missing : Read::Failed;
    }
    struct stat info;
    if (!FreshStat::of(fd.get(), info) || !S_ISREG(info.st_mode)) {
        return Read::Failed;
    }
    return Read::Done;
}

// Reads the file from its start until `enough` says so or the file ends; `bytes` is left empty
// unless it was read.
template<typename Enough> Read readFile(const QString& path, QByteArray& bytes, Enough enough)
{
    bytes.clear();
    Fd fd;
    const Read opened = openForReading(path, fd);
    if (opened != Read::Done) {
        return opened;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = retried([&] { return ::read(fd.get(), chunk, sizeof chunk); });
        if (n < 0) {
            bytes.clear();
            return Read::Failed;
        }
        const QByteArrayView got(chunk, n);
        bytes.append(got);
        if (n == 0 || enough(got)) {
            return Read::Done;
        }
    }
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n
            = retried([&] { return ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done); });
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// A file system that cannot keep modes (FAT, some FUSE drivers) decides them by its mount options.
bool modeApplied(int fd, mode_t mode)
{
    return ::fchmod(fd, mode) == 0 || errno == ENOSYS || errno == EOPNOTSUPP || errno == EPERM;
}

// Where the bytes of `name` in the folder `dir` really live: a symbolic link is followed as the
// kernel would, relative to the folder that holds it, so that the link stays a link and its
// target gets the new content. The folder may be reached only as /proc/self/fd/N.
bool resolve(Fd& dir, QByteArray& name)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (!FreshStat::at(dir.get(), name.constData(), info, AT_SYMLINK_NOFOLLOW)) {
            return errno == ENOENT;
        }
        if (!S_ISLNK(info.st_mode)) {
            return true;
        }
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlinkat(dir.get(), name.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length >= target.size()) {
            return false;
        }
        target.truncate(length);
        const qsizetype slash = target.lastIndexOf('/');
        if (slash >= 0) {
            const QByteArray folder = slash == 0 ? QByteArray("/") : target.left(slash);
            const int next
                = retried([&] { return ::openat(dir.get(), folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
            if (next < 0) {
                return false;
            }
            dir.reset(next);
        }
        name = target.mid(slash + 1);
        if (name.isEmpty() || name == "." || name == "..") {
            return false;
        }
    }
    return false;
}

// Writes into the file itself: its other names (hard links) see the new content too.
bool writeInPlace(int dir, const QByteArray& name, const QByteArray& bytes)
{
    Fd fd(retried([&] { return ::openat(dir, name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }));
    struct stat info;
    return fd.get() >= 0 && FreshStat::of(fd.get(), info) && S_ISREG(info.st_mode) && writeAll(fd.get(), bytes)
        && ::ftruncate(fd.get(), bytes.size()) == 0 && ::fsync(fd.get()) == 0;
}

// A new file beside the old one, owner-only from its creation, that takes the old one's place
// only once it is complete and on the disk; then the folder is synced, so the new name outlasts a
// power cut. False with `refused` when the folder does not let a new file be made.
bool replace(int dir, const QByteArray& name, const QByteArray& bytes, const struct stat* old, bool& refused)
{
    refused = false;
    QByteArray temporary;
    Fd fd;
    for (int attempt = 0; attempt < 100 && fd.get() < 0; ++attempt) {
        temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd.reset(retried([&] {
            return ::openat(dir, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        }));
        if (fd.get() < 0 && errno != EEXIST) {
            refused = errno == EACCES || errno == EPERM || errno == EROFS;
            return false;
        }
    }
    if (fd.get() >= 0 && old) {
        // The old file's owner and group where they can be set: another user's file, written by root
        // or by a member of its group, is not turned into the writer's own.
        [[maybe_unused]] const int kept = ::fchown(fd.get(), old->st_uid, old->st_gid);
    }
    const bool written = fd.get() >= 0 && (!old || modeApplied(fd.get(), old->st_mode & 07777))
        && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    if (!written || ::renameat(dir, temporary.constData(), dir, name.constData()) != 0) {
        ::unlinkat(dir, temporary.constData(), 0);
        return false;
    }
    ::fsync(dir);
    return true;
}

} // namespace

Read readAll(const QString& path, QByteArray& bytes)
{
    return readFile(path, bytes, [](QByteArrayView) { return false; });
}

Read readFirstLine(const QString& path, QByteArray& line)
{
    QByteArray bytes;
    const Read read
        = readFile(path, bytes, [](QByteArrayView got) { return got.contains('\r') || got.contains('\n'); });
    line = firstLine(bytes);
    return read;
}

bool write(const QString& path, const QByteArray& bytes)
{
    const QByteArray full = QFile::encodeName(path);
    const qsizetype slash = full.lastIndexOf('/');
    if (slash < 0) {
        return false;
    }
    const QByteArray folder = slash == 0 ? QByteArray("/") : full.left(slash);
    // Read access lets the folder be synced; a folder that only lets itself be searched still works.
    Fd dir(retried([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (dir.get() < 0) {
        dir.reset(retried([&] { return ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    }
    QByteArray name = full.mid(slash + 1);
    if (dir.get() < 0 || !resolve(dir, name)) {
        return false;
    }
    struct stat info;
    const bool exists = FreshStat::at(dir.get(), name.constData(), info);
    if (!exists) {
        bool refused = false;
        return errno == ENOENT && replace(dir.get(), name, bytes, nullptr, refused);
    }
    // A file the user may not write is not replaced either: a new file in its place would be the
    // user's own and writable, and the protection gone.
    if (!S_ISREG(info.st_mode) || ::faccessat(dir.get(), name.constData(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    if (info.st_nlink > 1) {
        return writeInPlace(dir.get(), name, bytes);
    }
    bool refused = false;
    if (replace(dir.get(), name, bytes, &info, refused)) {
        return true;
    }
    // A folder that refuses new files but lets its files be written (a read-only share): the file
    // is written in place, as it always could be, rather than not at all.
    return refused && writeInPlace(dir.get(), name, bytes);
}

QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    forEachLine(bytes, [&](QByteArray line) {
        lines.append(std::move(line));
        return true;
    });
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace TextFile
