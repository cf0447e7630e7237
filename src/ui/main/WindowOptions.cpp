#include "WindowOptions.h"

#include "MessageBox.h"
#include "SettingsStore.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QMainWindow>

#include <cmath>

namespace {

const QString settingsApplication = QStringLiteral("Sitewarden");
const QString settingsSection = QStringLiteral("设置");

} // namespace

WindowOptions::WindowOptions(
    QMainWindow& window, QAction* keepOnTop, QAction* openWithoutAsking, const Platform& platform)
    : QObject(&window)
    , m_window(window)
    , m_keepOnTop(keepOnTop)
    , m_openWithoutAsking(openWithoutAsking)
    , m_platform(platform)
{
    connect(m_keepOnTop, &QAction::triggered, this, [this](bool checked) {
        m_keepOnTop->setChecked(!checked);
        toggleKeepOnTop();
    });
    connect(m_openWithoutAsking, &QAction::triggered, this, [this](bool checked) {
        m_openWithoutAsking->setChecked(!checked);
        toggleOpenWithoutAsking();
    });
}

void WindowOptions::load()
{
    toggleKeepOnTop();
    m_askBeforeOpening = readOption(QStringLiteral("EnableURL"));
    // The item reads "do not confirm": it is checked exactly when opening an address does not ask.
    m_openWithoutAsking->setChecked(!m_askBeforeOpening);
}

bool WindowOptions::readOption(const QString& name) const
{
    const QString text
        = m_platform.settings.getSetting(settingsApplication, settingsSection, name, QStringLiteral("False"));
    // Only the word True means True; any other text must not stop the program from starting.
    return text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

void WindowOptions::storeOption(const QString& name, bool value)
{
    const bool stored = m_platform.settings.saveSetting(
        settingsApplication, settingsSection, name, value ? QStringLiteral("True") : QStringLiteral("False"));
    // The choice holds for this run all the same; the user must know it will not outlast it. At
    // start-up the window is not there yet to say so.
    if (!stored && m_window.isVisible()) {
        m_platform.messageBox.show(
            QStringLiteral("无法保存设置!"), MessageBox::Critical, QStringLiteral("保存设置出错!"));
    }
}

void WindowOptions::toggleKeepOnTop()
{
    const QRect screen = m_platform.placement.primaryScreen();
    const QSize client = m_window.centralWidget()->size();
    // Rounded to the nearest whole pixel, an exact half to the even neighbour.
    const int x = screen.x() + int(std::nearbyint(double(screen.width()) - (client.width() + 13)));
    const int y = screen.y() + int(std::nearbyint(double(screen.height()) - (client.height() + 50)));
    const int height = client.height() + 46;
    if (m_keepOnTop->isChecked()) {
        m_platform.placement.setWindowPos(&m_window, WindowPlacement::NoTopmost, x, y, client.width(), height,
            WindowPlacement::NoSize | WindowPlacement::NoMove | WindowPlacement::NoActivate
                | WindowPlacement::ShowWindow);
    } else {
        m_platform.placement.setWindowPos(
            &m_window, WindowPlacement::Topmost, x, y, client.width(), height, WindowPlacement::NoSize);
    }
    m_keepOnTop->setChecked(!m_keepOnTop->isChecked());
    storeOption(QStringLiteral("WebSet"), m_keepOnTop->isChecked());
}

void WindowOptions::toggleOpenWithoutAsking()
{
    m_openWithoutAsking->setChecked(!m_openWithoutAsking->isChecked());
    m_askBeforeOpening = !m_askBeforeOpening;
    // Start-up reads this value back: it is whether opening asks that is stored.
    storeOption(QStringLiteral("EnableURL"), m_askBeforeOpening);
}
