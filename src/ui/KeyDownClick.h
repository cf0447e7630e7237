#pragma once

#include <QObject>

// A button's command runs when its key goes down, as on the desktop the program comes from: an
// Alt+letter clicks at once rather than after Qt's 100 ms press animation, and a key held down
// (Alt+S, or Enter on the focused button) runs the command once, not again with every repeat.
// Space and the mouse keep Qt's click on release.
class KeyDownClick : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
