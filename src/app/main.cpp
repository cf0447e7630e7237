#include "FrmSitewarden.h"
#include "QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtPlatform platform;
    FrmSitewarden window(platform.services());
    window.show();
    return app.exec();
}
