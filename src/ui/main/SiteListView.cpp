#include "SiteListView.h"

#include <QAccessible>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QToolTip>

SiteListView::SiteListView(QWidget* parent)
    : QListView(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    connect(this, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == m_lineBeforePress && index.row() == chosenLine()) {
            emit chosenLineClicked();
        }
    });
}

int SiteListView::chosenLine() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SiteListView::updateTip()
{
    const int line = chosenLine();
    setToolTip(line < 0 ? QString() : model()->index(line, 0).data().toString());
}

void SiteListView::focusInEvent(QFocusEvent* event)
{
    // Past the item view's own, which makes the first line current.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    setAttribute(Qt::WA_InputMethodEnabled);
    QTimer::singleShot(0, this, &SiteListView::announceCurrentLine);
}

void SiteListView::announceCurrentLine()
{
    const QModelIndex current = currentIndex();
    if (QAccessible::isActive() && hasFocus() && current.isValid()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current.row());
        QAccessible::updateAccessibility(&focus);
    }
}

void SiteListView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool toFirst = key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Home || key == Qt::Key_PageUp
        || key == Qt::Key_Space;
    if (toFirst && event->modifiers() == Qt::NoModifier && chosenLine() < 0 && model()->rowCount() > 0) {
        setCurrentIndex(model()->index(0, 0));
        return;
    }
    QListView::keyPressEvent(event);
}

bool SiteListView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_lineBeforePress = chosenLine();
        break;
    case QEvent::MouseMove:
        updateTip();
        break;
    case QEvent::ToolTip:
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), toolTip(), this);
        return true;
    default:
        break;
    }
    return QListView::viewportEvent(event);
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
