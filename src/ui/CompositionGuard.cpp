#include "CompositionGuard.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

bool CompositionGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::InputMethod:
        if (static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty()) {
            m_composing.remove(watched);
        } else {
            m_composing.insert(watched);
        }
        break;
    case QEvent::FocusOut:
        m_composing.remove(watched);
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        if (m_composing.contains(watched)
            && (static_cast<QKeyEvent*>(event)->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
            // Claimed, so that no shortcut takes it, and then dropped.
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
