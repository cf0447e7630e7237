#pragma once

#include <QByteArray>

class QWidget;

// Brings the running copy's window forward when the program is started again. Window managers
// refuse to raise a window for an old request, so the later start hands over what its launcher
// gave it (the X startup id, the Wayland activation token) or, failing that, a current X server
// time; the running copy activates with that, and ends the launcher's startup sequence.
class StartupActivation
{
public:
    // Before the QApplication, which takes both ids out of the environment.
    static StartupActivation fromEnvironment();

    // What a later start hands the running copy.
    QByteArray request() const;

    // In the running copy: de-iconifies, raises and activates `window` as `request` allows.
    static void activate(QWidget& window, const QByteArray& request);

    // The X server time at the end of a startup id ("…_TIME1234"); 0 when it names none.
    static quint32 timeOfStartupId(const QByteArray& startupId);

    // The startup notification that ends a launch: `remove: ID="…"`, quoted and escaped.
    static QByteArray removeMessage(const QByteArray& startupId);

private:
    QByteArray m_startupId;
    QByteArray m_activationToken;
};
