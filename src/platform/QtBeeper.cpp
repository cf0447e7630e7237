#include "QtBeeper.h"

#include <QApplication>

void QtBeeper::beep()
{
    QApplication::beep();
}
