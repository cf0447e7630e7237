#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

// Record files laid out byte by byte, independently of the code under test.
namespace RecordFiles {

inline QByteArray field(const QByteArray& bytes, int width)
{
    QByteArray padded = bytes.left(width);
    padded.append(width - padded.size(), ' ');
    return padded;
}

inline QByteArray record(int slot, const QByteArray& name, const QByteArray& user = {}, const QByteArray& password = {},
    const QByteArray& url = {})
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<qint16>(qint16(slot), bytes.data());
    return bytes + field(name, 35) + field(user, 35) + field(password, 35) + field(url, 200);
}

inline QByteArray deleted(int slot)
{
    return record(slot, "(Deleted)");
}

// Six slots: four entries, slots 3 and 5 free.
inline QByteArray six()
{
    return record(1, "one", "u1", "p1", "http://one") + record(2, "two", "u2", "p2") + deleted(3)
        + record(4, "four", "u4", "p4") + deleted(5) + record(6, "six", "u6", "p6");
}

inline QByteArray slot(const QByteArray& file, int number)
{
    return file.mid((number - 1) * 307, 307);
}

inline void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace RecordFiles
