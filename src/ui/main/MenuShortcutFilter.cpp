#include "MenuShortcutFilter.h"

#include <QKeyEvent>

MenuShortcutFilter::MenuShortcutFilter(QList<QKeySequence> sequences, QObject* parent)
    : QObject(parent)
    , m_sequences(std::move(sequences))
{ }

bool MenuShortcutFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_sequences.contains(QKeySequence(key->keyCombination()))) {
            // Not claimed by the control: the shortcut map hands the key to the menu item.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
