#pragma once

#include "ProgramFolder.h"

#include <QByteArray>

// The folder of the data files: the program file's own, found from the running process itself, or
// the user's per-user folder (see DataFolder for which). The folder is held open and reached
// through its descriptor, so that its name, whatever bytes it is made of (a Chinese Windows archive
// leaves GBK names), is never converted to text and back.
class QtProgramFolder : public ProgramFolder
{
public:
    // `program`: the program file's real path, as bytes; by default the running program's.
    explicit QtProgramFolder(const QByteArray& program = runningProgram());
    ~QtProgramFolder() override;
    QtProgramFolder(const QtProgramFolder&) = delete;
    QtProgramFolder& operator=(const QtProgramFolder&) = delete;

    QString path() const override;
    void recover() const override;
    QString problem() const override { return m_problem; }
    // The canonical path of the data folder, as its bytes; empty when unknown.
    QByteArray location() const { return m_location; }

    static QByteArray runningProgram();

private:
    QByteArray m_location;
    QByteArray m_programName;
    QString m_problem;
    int m_fd = -1;
};
