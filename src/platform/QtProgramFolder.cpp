#include "QtProgramFolder.h"

#include <QCoreApplication>

QString QtProgramFolder::path() const
{
    return QCoreApplication::applicationDirPath();
}
