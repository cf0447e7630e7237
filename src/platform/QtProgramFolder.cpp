#include "QtProgramFolder.h"

#include "DataFolder.h"

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

} // namespace

QtProgramFolder::QtProgramFolder(const QByteArray& program)
{
    const qsizetype slash = program.lastIndexOf('/');
    m_programName = program.mid(slash + 1);
    if (slash >= 0) {
        const DataFolder::Choice choice = DataFolder::prepare(slash == 0 ? QByteArray("/") : program.left(slash));
        m_problem = DataFolder::explain(choice);
        if (m_problem.isEmpty()) {
            m_location = choice.path;
        }
    }
    if (!m_location.isEmpty()) {
        do {
            m_fd = ::open(m_location.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
    }
}

QtProgramFolder::~QtProgramFolder()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

QByteArray QtProgramFolder::runningProgram()
{
    // The kernel's own record of the program file: links followed, whatever bytes name it.
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || length == ssize_t(sizeof buffer)) {
        return {};
    }
    return QByteArray(buffer, length);
}

QString QtProgramFolder::path() const
{
    return m_fd < 0 ? QString() : QStringLiteral("/proc/self/fd/") + QString::number(m_fd);
}

void QtProgramFolder::recover() const
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
    int found;
    do {
        found = ::open(m_location.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (found < 0 && errno == EINTR);
    if (found < 0) {
        return;
    }
    // Only a folder that holds the program again is the program's folder: an empty mount point
    // left by the disk is not, and the held folder's own failure is then what the user is told.
    struct stat program;
    if (::fstatat(found, m_programName.constData(), &program, AT_SYMLINK_NOFOLLOW) == 0) {
        // The same descriptor number: every path handed out through it reaches the new folder.
        ::dup3(found, m_fd, O_CLOEXEC);
    }
    ::close(found);
}
