#include "WindowTest.h"

#include "RecordFiles.h"

#include <QFileInfo>

namespace {

const QString webSetKey = FakeSettingsStore::path("Sitewarden", "设置", "WebSet");
const QString enableUrlKey = FakeSettingsStore::path("Sitewarden", "设置", "EnableURL");

class StartupTest : public WindowTest
{
protected:
    std::unique_ptr<MainWindow> start() { return std::make_unique<MainWindow>(platform.services()); }
};

TEST_F(StartupTest, FirstStartWithNothingStored)
{
    auto window = start();

    ASSERT_EQ(platform.placement.calls.size(), 1);
    const auto& call = platform.placement.calls[0];
    EXPECT_EQ(call.window, window.get());
    EXPECT_EQ(call.insertAfter, -1);
    EXPECT_EQ(QPoint(call.x, call.y), QPoint(651, 496));
    EXPECT_EQ(QSize(call.width, call.height), QSize(360, 268));
    EXPECT_EQ(call.flags, 1u);
    EXPECT_TRUE(Controls(*window).mnuTop->isChecked());
    EXPECT_TRUE(Controls(*window).mnuConfirm->isChecked());
    EXPECT_EQ(platform.settings.values.value(webSetKey), "True");
    EXPECT_FALSE(platform.settings.values.contains(enableUrlKey));

    EXPECT_EQ(QFileInfo(dataFile("Sitewarden2.dta")).size(), 0);
    EXPECT_EQ(Controls(*window).List1->model()->rowCount(), 0);
    EXPECT_EQ(Controls(*window).Combo2->count(), 0);
    EXPECT_EQ(Controls(*window).Combo2->currentText(), QString());
    for (QLineEdit* box : {Controls(*window).TxtUser, Controls(*window).TxtPassword, Controls(*window).TxtURL}) {
        EXPECT_EQ(box->text(), QString());
    }
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(StartupTest, PlacesTheWindowBeforeAnythingIsLoaded)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"), RecordFiles::record(1, "bank", "me", "pw", "http://bank"));
    RecordFiles::write(dataFile("Email.dta"), "me@x.org\r\n");
    platform.placement.onCall = [](QWidget* window) { EXPECT_EQ(Controls(*window).List1->model()->rowCount(), 0); };
    auto window = start();
    EXPECT_EQ(Controls(*window).List1->model()->index(0, 0).data().toString(), "bank");
    EXPECT_EQ(Controls(*window).TxtUser->text(), "me");
    EXPECT_EQ(Controls(*window).TxtPassword->text(), "pw");
    EXPECT_EQ(Controls(*window).TxtURL->text(), "http://bank");
    EXPECT_EQ(Controls(*window).Combo2->currentText(), "me@x.org");
    // Record 1 is shown, yet no line is selected.
    EXPECT_FALSE(Controls(*window).List1->selectionModel()->hasSelection());
}

TEST_F(StartupTest, StoredOptionsInEveryCombination)
{
    const std::optional<QString> texts[] = {std::nullopt, QString("True"), QString("False"), QString("TRUE"),
        QString("false"), QString("garbage"), QString()};
    for (const auto& webSet : texts) {
        for (const auto& enableUrl : texts) {
            platform.settings.values.clear();
            if (webSet) {
                platform.settings.values[webSetKey] = *webSet;
            }
            if (enableUrl) {
                platform.settings.values[enableUrlKey] = *enableUrl;
            }
            auto window = start();
            const bool asks = enableUrl && enableUrl->compare("true", Qt::CaseInsensitive) == 0;
            const std::string what
                = webSet.value_or("(none)").toStdString() + "/" + enableUrl.value_or("(none)").toStdString();
            EXPECT_EQ(Controls(*window).mnuConfirm->isChecked(), !asks) << what;
            EXPECT_TRUE(Controls(*window).mnuTop->isChecked()) << what;
            EXPECT_EQ(platform.settings.values.value(webSetKey), "True") << what;
            EXPECT_EQ(platform.placement.calls.last().insertAfter, -1) << what;
        }
    }
}

TEST_F(StartupTest, KeepOnTopTogglesAndStoresItsState)
{
    const struct
    {
        QRect screen;
        QPoint corner;
    } screens[] = {{{0, 0, 1024, 768}, {651, 496}}, {{0, 0, 1920, 1080}, {1547, 808}}, {{0, 0, 800, 600}, {427, 328}},
        {{1024, 0, 1024, 768}, {1675, 496}}, {{-800, 200, 800, 600}, {-373, 528}}};
    for (const auto& screen : screens) {
        platform.placement.calls.clear();
        platform.placement.screen = screen.screen;
        auto window = start();
        Controls(*window).mnuTop->trigger();
        Controls(*window).mnuTop->trigger();

        ASSERT_EQ(platform.placement.calls.size(), 3);
        const auto& off = platform.placement.calls[1];
        const auto& on = platform.placement.calls[2];
        EXPECT_EQ(off.insertAfter, -2);
        EXPECT_EQ(off.flags, 83u);
        EXPECT_EQ(QPoint(off.x, off.y), screen.corner);
        EXPECT_EQ(on.insertAfter, -1);
        EXPECT_EQ(on.flags, 1u);
        EXPECT_EQ(QPoint(on.x, on.y), screen.corner);
        EXPECT_TRUE(Controls(*window).mnuTop->isChecked());
        EXPECT_EQ(platform.settings.values.value(webSetKey), "True");

        Controls(*window).mnuTop->trigger();
        EXPECT_FALSE(Controls(*window).mnuTop->isChecked());
        EXPECT_EQ(platform.settings.values.value(webSetKey), "False");
    }
}

TEST_F(StartupTest, TheFocusStartsInTheDescriptionBox)
{
    auto window = start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), Controls(*window).Text1);
}

TEST_F(StartupTest, ClosingEndsAtOnceAndWritesNothing)
{
    RecordFiles::write(dataFile("Email.dta"), "a@x.org\r\n");
    auto window = start();
    window->show();
    const auto settings = platform.settings.values;
    const QByteArray email = RecordFiles::read(dataFile("Email.dta"));
    EXPECT_EQ(runUntilQuit([&] { window->close(); }), 0);
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
    EXPECT_EQ(platform.settings.values, settings);
    EXPECT_EQ(RecordFiles::read(dataFile("Email.dta")), email);
}

TEST_F(StartupTest, AFolderEndingInASlashIsUsedAsItIs)
{
    platform.dataFolder.folder = dir.path() + "/";
    auto window = start();
    EXPECT_TRUE(QFileInfo::exists(dataFile("Sitewarden2.dta")));
}

// Nothing is read or written anywhere but in the program's own folder.
TEST_F(StartupTest, AProgramFolderThatCannotBeFoundIsLikeOneThatCannotBeOpened)
{
    platform.dataFolder.folder.clear();
    const QString here = QDir::currentPath();
    const QStringList before = QDir(here).entryList(QDir::Files);
    const QStringList rootBefore = QDir("/").entryList(QDir::Files);
    auto window = start();
    EXPECT_TRUE(listLines(*window).isEmpty());
    Controls(*window).Text1->setText("a");
    Controls(*window).TxtUser->setText("u");
    Controls(*window).TxtPassword->setText("p");
    Controls(*window).CmdAdd->click();
    EXPECT_EQ(platform.messageBox.shown.size(), 2);
    EXPECT_EQ(QDir(here).entryList(QDir::Files), before);
    EXPECT_EQ(QDir("/").entryList(QDir::Files), rootBefore);
}

} // namespace

namespace {

// Without a folder for the data, the user hears why once, as the window comes up, and not first
// from the failure boxes of a save.
TEST_F(StartupTest, AFolderThatCannotBeUsedIsToldOnceAtStart)
{
    platform.dataFolder.folder.clear();
    platform.dataFolder.unusable
        = QStringLiteral("无法使用数据文件夹 /home/me/.local/share/Sitewarden : 它属于另一个用户.");
    auto window = start();
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.messageBox.shown.isEmpty(); }));
    EXPECT_EQ(platform.messageBox.shown[0].prompt, platform.dataFolder.unusable);
    EXPECT_EQ(platform.messageBox.shown[0].style, 16);
    EXPECT_EQ(platform.messageBox.shown[0].title, "数据文件夹出错!");
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(platform.messageBox.shown.size(), 1);
}

} // namespace
