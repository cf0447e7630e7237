#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>

// The family text is drawn in.
inline QString shownFamily(const QFont& font)
{
    return QFontInfo(font).family();
}

// What fontconfig's own command picks for Chinese text in a family the system lacks.
inline QString chineseMatch(const QString& family)
{
    QProcess match;
    match.start(QStringLiteral("fc-match"),
        {QStringLiteral("-f"), QStringLiteral("%{family[0]}"), family + QStringLiteral(":lang=zh-cn")});
    match.waitForFinished();
    return QString::fromUtf8(match.readAllStandardOutput());
}

// The family a window's text designed in `family` is drawn in: that one where the system has it.
inline QString designFamily(const QString& family)
{
    return shownFamily(QFont(QFontDatabase::hasFamily(family) ? family : chineseMatch(family)));
}
