#include "FrmSitewarden.h"
#include "ProcessHardening.h"
#include "QtPlatform.h"
#include "SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    ProcessHardening::apply();
    QApplication app(argc, argv);
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
