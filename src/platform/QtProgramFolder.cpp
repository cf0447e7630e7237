#include "QtProgramFolder.h"

#include <QFile>

#include <climits>
#include <unistd.h>

QtProgramFolder::QtProgramFolder(const QByteArray& program)
{
    const qsizetype slash = program.lastIndexOf('/');
    if (slash > 0) {
        m_location = program.left(slash);
    } else if (slash == 0) {
        m_location = "/";
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
    return QFile::decodeName(m_location);
}
