#pragma once

#include <QString>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // A secret is marked so that clipboard managers leave it out of their history.
    virtual void setText(const QString& text, bool secret) = 0;

    // The mark, a format understood by KDE's Klipper and other clipboard managers.
    static QString secretFormat() { return QStringLiteral("x-kde-passwordManagerHint"); }
};
