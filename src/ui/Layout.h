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

inline QFont font(const QString& family, qreal points, bool underline = false)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setUnderline(underline);
    return font;
}

} // namespace Layout
