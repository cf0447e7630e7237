#include "QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const QString& address)
{
    // QDesktopServices starts xdg-open (or asks the portal) with the URL as one argument; no shell sees it.
    const QUrl url(address, QUrl::StrictMode);
    // An address that is not valid as it stands would reach the browser empty.
    return url.isValid() && QDesktopServices::openUrl(url);
}
