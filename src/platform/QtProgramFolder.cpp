#include "QtProgramFolder.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

QtProgramFolder::QtProgramFolder(const QByteArray& program)
{
    const qsizetype slash = program.lastIndexOf('/');
    if (slash > 0) {
        m_location = program.left(slash);
    } else if (slash == 0) {
        m_location = "/";
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
