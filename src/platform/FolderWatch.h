#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Tells when a file in a folder is written, made, renamed into place or removed: another machine's
// save that a sync tool brings in, another copy of the program, a backup restored.
class FolderWatch
{
public:
    virtual ~FolderWatch() = default;
    // Replaces any earlier watch. `changed` runs on the window's thread, once for each burst of
    // changes, with the names of the entries made, written or renamed into the folder meanwhile; a
    // file system that reports nothing (a network share) never calls it.
    virtual void watch(const QString& folder, std::function<void(const QList<QByteArray>& arrived)> changed) = 0;
};
