#pragma once

#include <QObject>

// Alt with a key that names no command types nothing in a text box, as on the desktop the program
// comes from; Alt with a command's key never reaches the box, its shortcut takes it.
class AcceleratorFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
