#include "AddressLauncher.h"

#include "Beeper.h"
#include "Gbk.h"
#include "MessageBox.h"
#include "UrlOpener.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QUrl>

#include <utility>

namespace {

// The address to open, or an empty URL when it is not a web address. A bare host name
// ("www.example.org") means a web page.
QUrl webAddress(const QString& address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?![0-9])"));
    const QString full = scheme.match(address).hasMatch() ? address : QStringLiteral("http://") + address;
    // Tolerant: a blank, "|", "{}" or a stray "%" in a web address is percent-encoded, not refused.
    const QUrl url(full, QUrl::TolerantMode);
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}

} // namespace

AddressLauncher::AddressLauncher(
    QLineEdit* box, const Platform& platform, std::function<bool()> askFirst, QObject* parent)
    : QObject(parent)
    , m_box(box)
    , m_platform(platform)
    , m_askFirst(std::move(askFirst))
{
    m_box->installEventFilter(this);
}

bool AddressLauncher::eventFilter(QObject* watched, QEvent* event)
{
    const bool left = (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (left && event->type() == QEvent::MouseButtonDblClick) {
        m_doubleClicked = true;
    } else if (left && !std::exchange(m_doubleClicked, false)) {
        open();
    }
    return QObject::eventFilter(watched, event);
}

void AddressLauncher::open()
{
    const QString address = Gbk::trimBlanks(m_box->text());
    if (address.isEmpty()) {
        m_platform.beeper.beep();
        return;
    }
    // The prefix that typing a new description leaves in the box.
    if (address == QLatin1String("http://www.")) {
        return;
    }
    const QUrl url = webAddress(address);
    if (url.isEmpty()) {
        m_platform.beeper.beep();
        return;
    }
    if (m_askFirst()
        && m_platform.messageBox.show(QStringLiteral("将要启动浏览器以打开选定的网页?你希望继续吗?"), MessageBox::YesNo,
               QStringLiteral("运行浏览器?"))
            != MessageBox::Yes) {
        return;
    }
    m_platform.urlOpener.open(url.toString(QUrl::FullyEncoded));
}
