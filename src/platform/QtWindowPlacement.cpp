#include "QtWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// A native Wayland client can neither place its window nor keep it above others: the compositor decides both.
bool platformPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void setStaysOnTop(QWidget* window, bool topmost)
{
    Qt::WindowFlags wanted = window->windowFlags();
    wanted.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (wanted == window->windowFlags()) {
        return;
    }
    if (QWindow* native = window->windowHandle()) {
        // QWidget::setWindowFlags would destroy the native window and make another, which flickers, forgets its
        // place and looks like a new window to a screen reader; the existing one takes the new state as it stands.
        window->overrideWindowFlags(wanted);
        native->setFlags(wanted);
    } else {
        window->setWindowFlags(wanted);
    }
}

} // namespace

void QtWindowPlacement::setWindowPos(
    QWidget* window, int insertAfter, int x, int y, int width, int height, unsigned flags)
{
    setStaysOnTop(window, insertAfter == Topmost);
    if (!(flags & NoMove) && platformPlacesWindows()) {
        window->move(x, y);
    }
    if (!(flags & NoSize)) {
        window->resize(width, height);
    }
    if ((flags & ShowWindow) && !window->isVisible()) {
        window->setAttribute(Qt::WA_ShowWithoutActivating, (flags & NoActivate) != 0);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

QRect QtWindowPlacement::primaryScreen() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Less the panels: a window at the lower right stands above a bottom panel, not under it.
    return screen ? screen->availableGeometry() : QRect();
}
