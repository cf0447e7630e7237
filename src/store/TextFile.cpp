#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

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

Read openFailed(const QString& path)
{
    return QFileInfo::exists(path) ? Read::Failed : Read::Missing;
}

} // namespace

QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    forEachLine(bytes, [&](QByteArray line) {
        lines.append(std::move(line));
        return true;
    });
    return lines;
}

QByteArray firstLine(const QByteArray& bytes)
{
    QByteArray line;
    forEachLine(bytes, [&](QByteArray first) {
        line = std::move(first);
        return false;
    });
    return line;
}

Read readAll(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return openFailed(path);
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return Read::Failed;
    }
    return Read::Done;
}

Read readFirstLine(const QString& path, QByteArray& line)
{
    line.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return openFailed(path);
    }
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            return Read::Failed;
        }
        const QByteArrayView got(chunk, n);
        bytes.append(got);
        if (n == 0 || got.contains('\r') || got.contains('\n')) {
            break;
        }
    }
    line = firstLine(bytes);
    return Read::Done;
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

bool write(const QString& path, const QByteArray& bytes)
{
    const bool isNew = !QFile::exists(path);
    QSaveFile file(path);
    // A folder that refuses new files but lets its files be written (a read-only share): the
    // file is written in place, as it always could be, rather than not at all.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write is seen here: Qt 6.4's commit() ignores a failed flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    if (isNew && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
