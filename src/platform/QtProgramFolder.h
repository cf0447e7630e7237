#pragma once

#include "ProgramFolder.h"

#include <QByteArray>

// The folder of the program file, found from the running process itself.
class QtProgramFolder : public ProgramFolder
{
public:
    // `program`: the program file's real path, as bytes; by default the running program's.
    explicit QtProgramFolder(const QByteArray& program = runningProgram());

    QString path() const override;
    // The canonical path of the folder, as its bytes: links resolved; empty when unknown.
    QByteArray location() const { return m_location; }

    static QByteArray runningProgram();

private:
    QByteArray m_location;
};
