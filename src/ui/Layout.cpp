#include "Layout.h"

#include <QHash>

#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace {

QString chineseFamily(const QString& family)
{
    const QByteArray name = family.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
        return family;
    }
    // A font answers to each of its names: "宋体" is also "SimSun".
    QString chosen;
    FcChar8* found = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &found) == FcResultMatch; ++i) {
        const QString known = QString::fromUtf8(reinterpret_cast<const char*>(found));
        if (i == 0 || known.compare(family, Qt::CaseInsensitive) == 0) {
            chosen = known;
        }
    }
    FcPatternDestroy(match);
    return chosen.isEmpty() ? family : chosen;
}

struct Lookup
{
    std::thread thread;
    QHash<QString, QString> families;

    ~Lookup()
    {
        if (thread.joinable()) {
            thread.join();
        }
    }
};

Lookup& lookup()
{
    static Lookup instance;
    return instance;
}

} // namespace

namespace Layout {

void lookUpFamilies()
{
    Lookup& ahead = lookup();
    if (ahead.thread.joinable()) {
        return;
    }
    try {
        ahead.thread = std::thread([&ahead] {
            for (const QString& family : {songFamily, newSongFamily, msSansSerifFamily}) {
                ahead.families.insert(family, chineseFamily(family));
            }
        });
    } catch (const std::system_error&) {
        // No thread to be had: each family is looked up when it is first asked for.
    }
}

QString installedFamily(const QString& family)
{
    Lookup& ahead = lookup();
    if (ahead.thread.joinable()) {
        ahead.thread.join();
    }
    auto found = ahead.families.constFind(family);
    if (found == ahead.families.constEnd()) {
        found = ahead.families.insert(family, chineseFamily(family));
    }
    return *found;
}

} // namespace Layout
