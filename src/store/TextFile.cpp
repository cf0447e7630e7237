#include "TextFile.h"

#include "FreshStat.h"
#include "Posix.h"

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

// Opens a data file for reading without ever blocking: a pipe or a device in its place is no file.
Read openForReading(const QString& path, Fd& fd, int& error)
{
    const QByteArray name = QFile::encodeName(path);
    fd.reset(Posix::retried([&] { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }));
    if (fd.get() < 0) {
        error = errno;
        return error == ENOENT ? Read::Missing : Read::Failed;
    }
    struct stat info;
    if (!FreshStat::of(fd.get(), info)) {
        error = errno;
        return Read::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return Read::Failed;
    }
    return Read::Done;
}

// Reads the file from its start until `enough` says so or the file ends; `bytes` is left empty
// unless it was read.
template<typename Enough> Read readFile(const QString& path, QByteArray& bytes, int& error, Enough enough)
{
    bytes.clear();
    error = 0;
    Fd fd;
    const Read opened = openForReading(path, fd, error);
    if (opened != Read::Done) {
        return opened;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = Posix::retried([&] { return ::read(fd.get(), chunk, sizeof chunk); });
        if (n < 0) {
            error = errno;
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

// 0, or why not every byte was written.
int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n
            = Posix::retried([&] { return ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done); });
        if (n <= 0) {
            return n < 0 ? errno : ENOSPC;
        }
        done += n;
    }
    return 0;
}

// 0 when the call succeeded, else why not.
int errorOf(bool succeeded)
{
    return succeeded ? 0 : errno;
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
            errno = length < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        target.truncate(length);
        const qsizetype slash = target.lastIndexOf('/');
        if (slash >= 0) {
            const QByteArray folder = Posix::folderOf(target);
            const int next = Posix::retried(
                [&] { return ::openat(dir.get(), folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
            if (next < 0) {
                return false;
            }
            dir.reset(next);
        }
        name = target.mid(slash + 1);
        if (name.isEmpty() || name == "." || name == "..") {
            errno = EISDIR;
            return false;
        }
    }
    errno = ELOOP;
    return false;
}

// Writes into the file itself: its other names (hard links) see the new content too. 0, or why not.
int writeInPlace(int dir, const QByteArray& name, const QByteArray& bytes)
{
    Fd fd(
        Posix::retried([&] { return ::openat(dir, name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }));
    struct stat info;
    if (fd.get() < 0 || !FreshStat::of(fd.get(), info)) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return EINVAL;
    }
    if (const int error = writeAll(fd.get(), bytes)) {
        return error;
    }
    return errorOf(::ftruncate(fd.get(), bytes.size()) == 0 && ::fsync(fd.get()) == 0);
}

// A new file beside the old one, owner-only from its creation, that takes the old one's place
// only once it is complete and on the disk; then the folder is synced, so the new name outlasts a
// power cut. 0, or why not: `refused` when the folder does not let a new file be made.
int replace(int dir, const QByteArray& name, const QByteArray& bytes, const struct stat* old, bool& refused)
{
    refused = false;
    QByteArray temporary;
    Fd fd;
    for (int attempt = 0; attempt < 100 && fd.get() < 0; ++attempt) {
        temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd.reset(Posix::retried([&] {
            return ::openat(dir, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        }));
        if (fd.get() < 0 && errno != EEXIST) {
            refused = errno == EACCES || errno == EPERM || errno == EROFS;
            return errno;
        }
    }
    if (fd.get() < 0) {
        return EEXIST;
    }
    if (old) {
        // The old file's owner and group where they can be set: another user's file, written by root
        // or by a member of its group, is not turned into the writer's own.
        [[maybe_unused]] const int kept = ::fchown(fd.get(), old->st_uid, old->st_gid);
    }
    int error = old && !modeApplied(fd.get(), old->st_mode & 07777) ? errno : 0;
    error = error ? error : writeAll(fd.get(), bytes);
    error = error ? error : errorOf(::fsync(fd.get()) == 0);
    error = error ? error : errorOf(::renameat(dir, temporary.constData(), dir, name.constData()) == 0);
    if (error) {
        ::unlinkat(dir, temporary.constData(), 0);
        return error;
    }
    ::fsync(dir);
    return 0;
}

} // namespace

Read readAll(const QString& path, QByteArray& bytes, int& error)
{
    return readFile(path, bytes, error, [](QByteArrayView) { return false; });
}

Read readFirstLine(const QString& path, QByteArray& line)
{
    QByteArray bytes;
    int error = 0;
    const Read read
        = readFile(path, bytes, error, [](QByteArrayView got) { return got.contains('\r') || got.contains('\n'); });
    line = firstLine(bytes);
    return read;
}

FileFailure write(const QString& path, const QByteArray& bytes)
{
    const auto failed = [&path](FileFailure::Step step, int error) { return FileFailure::at(step, error, path); };
    const QByteArray full = QFile::encodeName(path);
    if (!full.contains('/')) {
        return failed(FileFailure::Step::Open, ENOENT);
    }
    const QByteArray folder = Posix::folderOf(full);
    // Read access lets the folder be synced; a folder that only lets itself be searched still works.
    Fd dir(Posix::retried([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (dir.get() < 0) {
        dir.reset(Posix::retried([&] { return ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    }
    QByteArray name = full.mid(full.lastIndexOf('/') + 1);
    if (dir.get() < 0 || !resolve(dir, name)) {
        return failed(FileFailure::Step::Open, errno);
    }
    struct stat info;
    if (!FreshStat::at(dir.get(), name.constData(), info)) {
        if (errno != ENOENT) {
            return failed(FileFailure::Step::Open, errno);
        }
        bool refused = false;
        const int error = replace(dir.get(), name, bytes, nullptr, refused);
        return error ? failed(FileFailure::Step::Write, error) : FileFailure();
    }
    // A file the user may not write is not replaced either: a new file in its place would be the
    // user's own and writable, and the protection gone.
    if (!S_ISREG(info.st_mode)) {
        return failed(FileFailure::Step::Open, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    if (::faccessat(dir.get(), name.constData(), W_OK, AT_EACCESS) != 0) {
        return failed(FileFailure::Step::Open, errno);
    }
    int error = 0;
    if (info.st_nlink > 1) {
        error = writeInPlace(dir.get(), name, bytes);
    } else {
        bool refused = false;
        error = replace(dir.get(), name, bytes, &info, refused);
        // A folder that refuses new files but lets its files be written (a read-only share): the file
        // is written in place, as it always could be, rather than not at all.
        if (error && refused) {
            error = writeInPlace(dir.get(), name, bytes);
        }
    }
    return error ? failed(FileFailure::Step::Write, error) : FileFailure();
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
