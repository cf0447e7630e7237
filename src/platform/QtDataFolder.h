#pragma once

#include "DataFolder.h"

#include <QByteArray>

// The folder of the data files: the program file's own, found from the running process itself, or
// the user's per-user folder (see DataFolderRule for which). The folder is held open and reached
// through its descriptor, so that its name, whatever bytes it is made of (a Chinese Windows archive
// leaves GBK names), is never converted to text and back.
class QtDataFolder : public DataFolder
{
public:
    // `program`: the program file's real path, as bytes; by default the running program's.
    explicit QtDataFolder(const QByteArray& program = runningProgram());
    ~QtDataFolder() override;
    QtDataFolder(const QtDataFolder&) = delete;
    QtDataFolder& operator=(const QtDataFolder&) = delete;

    QString path() const override;
    void recover() override;
    QString problem() const override { return m_problem; }
    // The canonical path of the data folder, as its bytes; empty when unknown.
    QByteArray location() const { return m_location; }

    static QByteArray runningProgram();

private:
    // Whether a folder found again by the name is this one, and not an empty mount point.
    bool isThisFolder(int folder) const;

    QByteArray m_location;
    QByteArray m_programName;
    bool m_perUser = false;
    QString m_problem;
    int m_fd = -1;
};
