#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(const QString& text, bool secret)
{
    auto* data = new QMimeData;
    data->setText(text);
    if (secret) {
        // Understood by KDE's Klipper and other clipboard managers: keep it out of the history.
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    }
    QGuiApplication::clipboard()->setMimeData(data);
}
