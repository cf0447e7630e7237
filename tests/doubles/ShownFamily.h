#pragma once

#include <QFont>
#include <QFontInfo>

// The family text is drawn in: the one named, or the one the system gives for it when it lacks that one.
inline QString shownFamily(const QFont& font)
{
    return QFontInfo(font).family();
}
