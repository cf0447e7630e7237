#include <QApplication>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt, fontconfig and the programs the tests start keep their runtime files, caches and settings in
    // folders the run removes, never in the home of whoever runs the tests.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    QTemporaryDir home;
    const QByteArray homePath = QFile::encodeName(home.path());
    qputenv("HOME", homePath);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        qunsetenv(name);
    }
    QApplication app(argc, argv);
    // A desktop font of this many points, as qt6ct or a desktop's settings give one.
    if (const int points = qEnvironmentVariableIntValue("SITEWARDEN_TEST_DESKTOP_POINTS")) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
