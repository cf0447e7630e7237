#pragma once

#include <QFont>
#include <QRect>
#include <QString>

// The windows are laid out in twips, 15 to a pixel, with fonts named by family and point size.
namespace Layout {

inline QRect twips(int left, int top, int width, int height)
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

// The families the windows are designed in.
inline const QString songFamily = QStringLiteral("宋体");
inline const QString newSongFamily = QStringLiteral("新宋体");
inline const QString msSansSerifFamily = QStringLiteral("MS Sans Serif");

// Starts looking up, on a thread of its own, the families the windows are designed in. fontconfig
// reads its whole configuration at its first use; this way it does so while the application
// connects to the display.
void lookUpFamilies();

// The family itself where the system has it. Otherwise the font fontconfig gives Chinese text under
// that name: the windows' text is Chinese, and one font that holds both scripts draws it with one
// font engine per size instead of a Latin one and a Chinese fallback.
QString installedFamily(const QString& family);

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
    return font(songFamily, 9);
}

} // namespace Layout
