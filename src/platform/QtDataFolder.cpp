#include "QtDataFolder.h"

#include "DataFolderRule.h"
#include "Posix.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The errors of a folder whose device or mount has gone away.
bool gone(int error)
{
    return error == ENODEV || error == EIO || error == ESTALE || error == ENOTCONN;
}

int openFolder(const QByteArray& path)
{
    return Posix::retried([&] { return ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); });
}

} // namespace

QtDataFolder::QtDataFolder(const QByteArray& program)
{
    const qsizetype slash = program.lastIndexOf('/');
    m_programName = program.mid(slash + 1);
    if (slash >= 0) {
        const DataFolderRule::Choice choice = DataFolderRule::prepare(Posix::folderOf(program));
        m_problem = DataFolderRule::explain(choice);
        m_perUser = choice.perUser;
        if (m_problem.isEmpty()) {
            m_location = choice.path;
        }
    }
    if (!m_location.isEmpty()) {
        m_fd = openFolder(m_location);
    }
}

QtDataFolder::~QtDataFolder()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

QByteArray QtDataFolder::runningProgram()
{
    // The kernel's own record of the program file: links followed, whatever bytes name it.
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || length == ssize_t(sizeof buffer)) {
        return {};
    }
    return QByteArray(buffer, length);
}

QString QtDataFolder::path() const
{
    return m_fd < 0 ? QString() : QStringLiteral("/proc/self/fd/") + QString::number(m_fd);
}

bool QtDataFolder::isThisFolder(int folder) const
{
    // The program's folder holds the program again; the per-user folder is the user's own again. An
    // empty mount point left by the disk is neither, and the held folder's own failure is then what
    // the user is told.
    struct stat info;
    if (m_perUser) {
        return ::fstat(folder, &info) == 0 && Posix::ownerOnlyFolder(info);
    }
    return ::fstatat(folder, m_programName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

void QtDataFolder::recover()
{
    if (m_fd < 0) {
        return;
    }
    struct stat held;
    const bool heldThere = ::fstat(m_fd, &held) == 0;
    if (!heldThere && !gone(errno)) {
        return;
    }
    struct stat named;
    if (::stat(m_location.constData(), &named) != 0 || !S_ISDIR(named.st_mode)
        || (heldThere && named.st_dev == held.st_dev && named.st_ino == held.st_ino)) {
        return;
    }
    const int found = openFolder(m_location);
    if (found < 0) {
        return;
    }
    if (isThisFolder(found)) {
        // The same descriptor number: every path handed out through it reaches the new folder.
        ::dup3(found, m_fd, O_CLOEXEC);
    }
    ::close(found);
}
