#include "QtWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void QtWindowPlacement::setWindowPos(
    QWidget* window, int insertAfter, int x, int y, int width, int height, unsigned flags)
{
    const bool wasVisible = window->isVisible();
    const bool topmost = insertAfter == Topmost;
    if (topmost != window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        // Changing the flag hides the window; it is shown again below.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    }
    if (!(flags & NoMove)) {
        window->move(x, y);
    }
    if (!(flags & NoSize)) {
        window->resize(width, height);
    }
    if (wasVisible || (flags & ShowWindow)) {
        window->setAttribute(Qt::WA_ShowWithoutActivating, (flags & NoActivate) != 0);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

QSize QtWindowPlacement::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}
