#include "TextFile.h"

#include "Gbk.h"

#include <QFile>
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
        if (!take(Gbk::decode(data + start, end - start))) {
            return;
        }
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
}

} // namespace

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    forEachLine(bytes, [&](QString line) {
        lines.append(std::move(line));
        return true;
    });
    return lines;
}

QString firstLine(const QByteArray& bytes)
{
    QString line;
    forEachLine(bytes, [&](QString first) {
        line = std::move(first);
        return false;
    });
    return line;
}

bool readAll(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return false;
    }
    return true;
}

bool readLines(const QString& path, QStringList& lines)
{
    lines.clear();
    QByteArray bytes;
    if (!readAll(path, bytes)) {
        return false;
    }
    lines = splitLines(bytes);
    return true;
}

bool readFirstLine(const QString& path, QString& line)
{
    line.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            return false;
        }
        const QByteArrayView got(chunk, n);
        bytes.append(got);
        if (n == 0 || got.contains('\r') || got.contains('\n')) {
            break;
        }
    }
    line = firstLine(bytes);
    return true;
}

bool writeLines(const QString& path, const QStringList& lines)
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
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += Gbk::encode(line);
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace TextFile
