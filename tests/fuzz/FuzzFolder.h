#pragma once

#include "FakeDataFolder.h"
#include "RecordFiles.h"

#include <QTemporaryDir>

#include <cstdlib>

// A data folder that each input is written into as one data file.
struct FuzzFolder
{
    FuzzFolder() { folder.folder = dir.path(); }

    QString put(const char* name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(QLatin1String(name));
        RecordFiles::write(path, bytes);
        return path;
    }

    QTemporaryDir dir;
    FakeDataFolder folder;
};

// The lines a careful reader sees: ended by CR LF, CR or LF, without blanks around them.
inline QList<QByteArray> trimmedLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const char c = i < bytes.size() ? bytes[i] : '\n';
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (i < bytes.size() || !line.isEmpty()) {
            while (line.startsWith(' ')) {
                line.remove(0, 1);
            }
            while (line.endsWith(' ')) {
                line.chop(1);
            }
            lines.append(line);
        }
        line.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
    }
    return lines;
}
