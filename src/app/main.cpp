#include "FrmSitewarden.h"
#include "PlatformChoice.h"
#include "ProcessHardening.h"
#include "QtPlatform.h"
#include "SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    ProcessHardening::apply();
    const bool platformChosen = PlatformChoice::apply(argc, argv);
    QApplication app(argc, argv);
    PlatformChoice::restore(platformChosen);
    QGuiApplication::setDesktopFileName(QStringLiteral("sitewarden"));
    QtPlatform platform;
    SingleInstance instance(platform.programFolder().location());
    if (!instance.start()) {
        return 0;
    }
    FrmSitewarden window(platform.services());
    QObject::connect(&instance, &SingleInstance::showRequested, &window, &FrmSitewarden::bringToFront);
    window.show();
    return app.exec();
}
