#include "KeyDownClick.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcutEvent>

bool KeyDownClick::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button && event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        // A letter two buttons share only moves the focus between them, as Qt does.
        if (!shortcut->isAmbiguous()) {
            // The first press is never a repeat: from then on the repeats are no shortcut.
            button->setShortcutAutoRepeat(shortcut->shortcutId(), false);
            button->click();
            return true;
        }
    } else if (button && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
