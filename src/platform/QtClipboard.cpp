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
        data->setData(secretFormat(), QByteArrayLiteral("secret"));
    }
    QGuiApplication::clipboard()->setMimeData(data);
}
