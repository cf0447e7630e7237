#include "FileFailure.h"

#include <QFile>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

// The folder's own name for a path reached through a descriptor the program holds (/proc/self/fd/N),
// as a user reading the journal knows it.
QString readable(const QString& path)
{
    static const QString held = QStringLiteral("/proc/self/fd/");
    if (!path.startsWith(held)) {
        return path;
    }
    const qsizetype end = path.indexOf(QLatin1Char('/'), held.size());
    const QString descriptor = end < 0 ? path : path.left(end);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(descriptor).constData(), target, sizeof target);
    if (length <= 0 || length == ssize_t(sizeof target)) {
        return path;
    }
    return QFile::decodeName(QByteArray(target, length)) + (end < 0 ? QString() : path.mid(end));
}

} // namespace

QString FileFailure::describe() const
{
    static const char* const steps[]
        = {"do nothing to", "open", "lock", "count the records of", "read", "write", "find room in"};
    QString text = QLatin1String(steps[int(step)]) + QLatin1Char(' ') + readable(path);
    if (error != 0) {
        text += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    }
    return text;
}
