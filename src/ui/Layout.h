#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QRect>
#include <QString>

// The windows are laid out in twips, 15 to a pixel, with fonts named by family and point size.
namespace Layout {

inline QRect twips(int left, int top, int width, int height)
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

// A family the system lacks costs a fontconfig fallback search for every script its text shows, and
// what that search finds is the desktop's own family: such a font is given that family at once.
inline QString installedFamily(const QString& family)
{
    static QHash<QString, QString> resolved;
    auto found = resolved.constFind(family);
    if (found == resolved.constEnd()) {
        found = resolved.insert(family, QFontDatabase::hasFamily(family) ? family : QGuiApplication::font().family());
    }
    return *found;
}

inline QFont font(const QString& family, qreal points, bool underline = false)
{
    QFont font(installedFamily(family));
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setUnderline(underline);
    return font;
}

// The windows' own default font, that of the desktop the program comes from where it is installed.
inline QFont defaultFont()
{
    return font(QStringLiteral("宋体"), 9);
}

} // namespace Layout
