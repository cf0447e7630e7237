#pragma once

#include "Platform.h"

#include <QObject>

class QAction;
class QMainWindow;

// The window's two options and the settings they are kept in: 总在最前(T) (Ctrl+T), which keeps the
// window on top at the lower right of the screen, and 不确认(C) (Ctrl+C), which opens an address
// without asking. Each command inverts its own check mark, as it does when start-up runs it.
class WindowOptions : public QObject
{
    Q_OBJECT

public:
    WindowOptions(QMainWindow& window, QAction* keepOnTop, QAction* openWithoutAsking, const Platform& platform);

    // Start-up: the keep-on-top command run as if chosen, so that the window is placed before
    // anything is read, and whether opening an address asks read from the settings.
    void load();
    bool askBeforeOpening() const { return m_askBeforeOpening; }

private:
    void toggleKeepOnTop();
    void toggleOpenWithoutAsking();
    bool readOption(const QString& name) const;
    // Once the window is up, a value that could not be stored is reported.
    void storeOption(const QString& name, bool value);

    QMainWindow& m_window;
    QAction* m_keepOnTop;
    QAction* m_openWithoutAsking;
    Platform m_platform;
    bool m_askBeforeOpening = false;
};
