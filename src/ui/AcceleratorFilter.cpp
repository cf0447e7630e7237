#include "AcceleratorFilter.h"

#include <QKeyEvent>

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // AltGr is no Alt here: the characters of a layout's third level still type.
        if ((key->modifiers() & Qt::AltModifier) && !key->text().isEmpty() && key->text().at(0).isPrint()) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
