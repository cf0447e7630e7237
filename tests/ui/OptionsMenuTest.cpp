#include "WindowTest.h"

#include "DefaultUserIdDialog.h"
#include "QtWindowPlacement.h"

#include <QWindow>

namespace {

const QString enableUrlKey = FakeSettingsStore::path("Sitewarden", "设置", "EnableURL");
const QString webSetKey = FakeSettingsStore::path("Sitewarden", "设置", "WebSet");

class OptionsMenuTest : public WindowTest
{
protected:
    std::unique_ptr<MainWindow> start()
    {
        auto window = std::make_unique<MainWindow>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    // Clicks a web address and tells whether the program asked first (and answers No).
    bool asksBeforeOpening(MainWindow& window)
    {
        platform.messageBox.shown.clear();
        platform.messageBox.answers = {MessageBox::No};
        Controls(window).TxtURL->setText("http://example.org");
        QTest::mouseClick(Controls(window).TxtURL, Qt::LeftButton);
        const bool asked = !platform.messageBox.shown.isEmpty();
        platform.messageBox.answers.clear();
        return asked;
    }
};

TEST_F(OptionsMenuTest, TheConfirmOptionAgreesWithItsCheckMarkInEveryRunAndAcrossRestarts)
{
    const struct
    {
        int choices;
        bool asks;
        const char* stored;
    } cases[] = {{0, false, nullptr}, {1, true, "True"}, {2, false, "False"}, {3, true, "True"}};
    for (const auto& c : cases) {
        platform.settings.values.clear();
        auto window = start();
        for (int i = 0; i < c.choices; ++i) {
            Controls(*window).mnuConfirm->trigger();
        }
        for (int run = 0; run < 2; ++run) {
            const std::string what = std::to_string(c.choices) + " choices, run " + std::to_string(run);
            EXPECT_EQ(Controls(*window).mnuConfirm->isChecked(), !c.asks) << what;
            EXPECT_EQ(asksBeforeOpening(*window), c.asks) << what;
            if (c.stored) {
                EXPECT_EQ(platform.settings.values.value(enableUrlKey), c.stored) << what;
            } else {
                EXPECT_FALSE(platform.settings.values.contains(enableUrlKey)) << what;
            }
            window = start();
        }
    }
}

TEST_F(OptionsMenuTest, HelpShowsItsSixTextsSpacedOut)
{
    auto window = start();
    Controls(*window).mnuHelp->trigger();
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    const auto& box = platform.messageBox.shown[0];
    EXPECT_EQ(box.title, "帮助!");
    EXPECT_EQ(box.style, 65600);
    EXPECT_EQ(box.prompt,
        "输入网站的名称,用户ID及密码,然后单击保存.\r\n"
        "为了找回密码,只要选定网站列表中的名称,密码就会显示在密码框中\r\n\r\n"
        "你可以剪切和粘贴你的密码到网站上,或...你可以使用粘贴按钮.\r\n\r\n\r\n"
        "数据文件会以 \".dta\"为扩展名保存到程序文件夹中.\r\n\r\n"
        "你可以输入网址,然后单击它,就会转到该网址.\r\n\r\n"
        "Easy ... right? 享用吧!");
}

TEST_F(OptionsMenuTest, AboutFollowsItsLayout)
{
    auto window = start();
    Controls(*window).mnuAbout->trigger();
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    const auto& box = platform.messageBox.shown[0];
    EXPECT_EQ(box.title, "关于");
    EXPECT_EQ(box.style, 65600);
    const QStringList lines = box.prompt.split("\r\n");
    ASSERT_EQ(lines.size(), 7) << box.prompt.toStdString();
    EXPECT_FALSE(lines[0].isEmpty());
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Sitewarden软件");
    EXPECT_TRUE(QRegularExpression("^\\S+@example\\.org  或  \\S+@example\\.org$").match(lines[3]).hasMatch());
    EXPECT_TRUE(lines[4].startsWith("http://www.example.org"));
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "");
}

TEST_F(OptionsMenuTest, CtrlShortcutsRunTheirItemsFromATextBox)
{
    auto window = start();
    Controls(*window).TxtPassword->setFocus();
    QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(platform.messageBox.shown.size(), 2);
    EXPECT_EQ(platform.messageBox.shown[0].title, "帮助!");
    EXPECT_EQ(platform.messageBox.shown[1].title, "关于");

    Controls(*window).TxtPassword->setText("secret");
    Controls(*window).TxtPassword->selectAll();
    QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(Controls(*window).mnuConfirm->isChecked());
    EXPECT_FALSE(platform.clipboard.text.has_value());

    const int placements = platform.placement.calls.size();
    QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(platform.placement.calls.size(), placements + 1);
    EXPECT_FALSE(Controls(*window).mnuTop->isChecked());

    bool dialogOpened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DefaultUserIdDialog*>(QApplication::activeModalWidget());
        dialogOpened = dialog != nullptr;
        if (dialog) {
            DialogControls(*dialog).Command1->click();
        }
    });
    QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(dialogOpened);
    EXPECT_TRUE(QFile::exists(dataFile("default.dta")));
}

TEST_F(OptionsMenuTest, ExitEndsTheProgramWithoutAQuestion)
{
    for (bool byKey : {false, true}) {
        auto window = start();
        EXPECT_EQ(runUntilQuit([&] {
            if (byKey) {
                QTest::keyClick(Controls(*window).Text1, Qt::Key_X, Qt::AltModifier);
            } else {
                Controls(*window).mnuexit->trigger();
            }
        }),
            0)
            << byKey;
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(OptionsMenuTest, AnOptionThatCannotBeStoredIsSaidOnceAndStillHoldsForThisRun)
{
    platform.settings.writable = false;
    auto window = start();
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
    const bool confirmChecked = Controls(*window).mnuConfirm->isChecked();
    for (QAction* item : {Controls(*window).mnuConfirm, Controls(*window).mnuTop}) {
        platform.messageBox.shown.clear();
        item->trigger();
        ASSERT_EQ(platform.messageBox.shown.size(), 1);
        EXPECT_EQ(platform.messageBox.shown[0].prompt, "无法保存设置!");
        EXPECT_EQ(platform.messageBox.shown[0].title, "保存设置出错!");
        EXPECT_EQ(platform.messageBox.shown[0].style, 16);
    }
    EXPECT_NE(Controls(*window).mnuConfirm->isChecked(), confirmChecked);
    EXPECT_FALSE(Controls(*window).mnuTop->isChecked());
    EXPECT_TRUE(asksBeforeOpening(*window));
    EXPECT_TRUE(platform.settings.values.isEmpty());
}

} // namespace

namespace {

// With the real placement, so that it also runs on native Wayland (QT_QPA_PLATFORM=wayland) where the
// compositor places the window and nothing keeps it on top. The command is chosen through its action, as
// Ctrl+T does: a compositor without a seat never activates the window, so no shortcut reaches it there.
TEST_F(OptionsMenuTest, KeepOnTopKeepsTheSameNativeWindowInItsPlace)
{
    QtWindowPlacement placement;
    Platform services = platform.services();
    Platform real {services.messageBox, services.beeper, services.clipboard, services.settings, services.urlOpener,
        placement, services.dataFolder, services.folderWatch};
    MainWindow window(real);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const WId id = window.winId();
    const QPoint place = window.pos();

    for (const bool onTop : {false, true}) {
        Controls(window).mnuTop->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(Controls(window).mnuTop->isChecked(), onTop);
        EXPECT_EQ(platform.settings.values.value(webSetKey), onTop ? "True" : "False");
        EXPECT_EQ(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(window.winId(), id);
        EXPECT_EQ(window.pos(), place);
        EXPECT_TRUE(window.isVisible());
    }
}

} // namespace
