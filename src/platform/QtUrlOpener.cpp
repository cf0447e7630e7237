#include "QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtUrlOpener::open(const QString& address)
{
    // QDesktopServices starts xdg-open (or asks the portal) with the URL as one argument; no shell sees it.
    return QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}
