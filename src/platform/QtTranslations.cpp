#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool QtTranslations::install(QCoreApplication& app, const QLocale& locale)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(
            locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator)) {
        return true;
    }
    delete translator;
    return false;
}
