#include "SiteListView.h"

#include <QInputMethodEvent>

SiteListView::SiteListView(QWidget* parent)
    : QListView(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
}

void SiteListView::focusInEvent(QFocusEvent* event)
{
    // Past the item view's own, which makes the first line current.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    setAttribute(Qt::WA_InputMethodEnabled);
}

void SiteListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    setAttribute(Qt::WA_InputMethodEnabled);
}

void SiteListView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty()) {
        keyboardSearch(event->commitString());
    }
    event->accept();
}

QVariant SiteListView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        // The candidates show at the current line, else at the top of the list.
        const QModelIndex current = currentIndex();
        const QRect line = current.isValid() ? visualRect(current) : QRect(0, 0, viewport()->width(), 0);
        return QRect(viewport()->mapTo(this, line.topLeft()), line.size());
    }
    default:
        return QListView::inputMethodQuery(query);
    }
}
