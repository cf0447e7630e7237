#pragma once

#include "Platform.h"

#include <QObject>

#include <functional>

class QWidget;

// A CSV file of logins dropped anywhere on the window is imported once the user says Yes, and what
// became of each row is shown in a box, as `--import` reports it on a terminal.
class LoginDrop : public QObject
{
    Q_OBJECT

public:
    // `imported`: after an import that wrote, so that the window lists the new entries at once.
    LoginDrop(QWidget& window, const Platform& platform, std::function<void()> imported);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void importFile(const QString& path);

    Platform m_platform;
    std::function<void()> m_imported;
};
