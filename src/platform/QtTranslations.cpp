#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

namespace {

Q_LOGGING_CATEGORY(lcTranslations, "sitewarden.translations", QtWarningMsg)

} // namespace

bool QtTranslations::install(QCoreApplication& app, const QLocale& locale)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(
            locale, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator)) {
        qCInfo(lcTranslations).noquote() << "Qt's own texts from" << translator->filePath();
        return true;
    }
    delete translator;
    return false;
}
