#include "CommandLine.h"
#include "Layout.h"
#include "LineEditAccessible.h"
#include "LoginTransfer.h"
#include "MainWindow.h"
#include "PlatformChoice.h"
#include "ProcessHardening.h"
#include "QtPlatform.h"
#include "QtTranslations.h"
#include "SingleInstance.h"
#include "StartupActivation.h"

#include <QApplication>

#include <malloc.h>

int main(int argc, char* argv[])
{
    if (const int status = CommandLine::answer(argc, argv); status >= 0) {
        return status;
    }
    ProcessHardening::apply();
    if (const int status = LoginTransfer::answer(argc, argv); status >= 0) {
        return status;
    }
    // One heap for the few threads: an arena of its own for each would keep its pages to itself.
    mallopt(M_ARENA_MAX, 1);
    Layout::lookUpFamilies();
    const StartupActivation startup = StartupActivation::fromEnvironment();
    const bool platformChosen = PlatformChoice::apply(argc, argv);
    QApplication app(argc, argv);
    PlatformChoice::restore(platformChosen);
    QGuiApplication::setDesktopFileName(QStringLiteral("sitewarden"));
    QtPlatform platform;
    SingleInstance instance(platform.dataFolder().location());
    if (!instance.start([&startup] { return startup.request(); })) {
        return 0;
    }
    QtTranslations::install(app);
    LineEditAccessible::install();
    MainWindow window(platform.services());
    QObject::connect(&instance, &SingleInstance::showRequested, &window,
        [&window](const QByteArray& request) { StartupActivation::activate(window, request); });
    window.show();
    return app.exec();
}
