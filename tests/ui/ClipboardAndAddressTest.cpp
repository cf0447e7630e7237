#include "WindowTest.h"

#include "RecordFiles.h"

#include <QMouseEvent>

namespace {

class ClipboardAndAddressTest : public WindowTest
{
protected:
    ClipboardAndAddressTest()
    {
        RecordFiles::write(dataFile("Email.dta"), "first@x.org\r\n");
        window = std::make_unique<MainWindow>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The confirmation option, as the user sets it: asking is the item's check mark taken off.
    void setAsking(bool asks)
    {
        if (Controls(*window).mnuConfirm->isChecked() == asks) {
            Controls(*window).mnuConfirm->trigger();
        }
    }

    void clickAddress(const QString& text)
    {
        Controls(*window).TxtURL->setText(text);
        QTest::mouseClick(Controls(*window).TxtURL, Qt::LeftButton);
    }
};

TEST_F(ClipboardAndAddressTest, EachButtonEmptiesTheClipboardThenCopiesItsTrimmedText)
{
    const struct
    {
        int index;
        QString user, password, email;
        std::optional<QString> expected;
        bool secret;
    } cases[] = {
        {0, "  my id ", "pw", "e", QString("my id"), false},
        {0, "   ", "pw", "e", QString(""), false},
        {1, "u", "  p a ss  ", "e", QString("p a ss"), true},
        {2, "u", "pw", " mail@x.org ", QString("mail@x.org"), false},
        {3, "u", "pw", "e", std::nullopt, false},
    };
    for (const auto& c : cases) {
        Controls(*window).TxtUser->setText(c.user);
        Controls(*window).TxtPassword->setText(c.password);
        Controls(*window).Combo2->setEditText(c.email);
        platform.clipboard.setText("copied before", false);
        const int clears = platform.clipboard.clears;
        Controls(*window).CmdPaste[c.index]->click();
        EXPECT_EQ(platform.clipboard.clears, clears + 1) << c.index;
        EXPECT_EQ(platform.clipboard.text, c.expected) << c.index;
        EXPECT_EQ(platform.clipboard.secret, c.secret) << c.index;
    }
}

TEST_F(ClipboardAndAddressTest, TheDefaultButtonFillsInTheStoredId)
{
    RecordFiles::write(dataFile("default.dta"), " me@x.org \r\n");
    Controls(*window).TxtUser->setText("typed");
    QTest::keyClick(Controls(*window).Text1, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Controls(*window).TxtUser->text() == "me@x.org"; }));
    QFile::remove(dataFile("default.dta"));
    Controls(*window).CmdPaste[3]->click();
    EXPECT_EQ(Controls(*window).TxtUser->text(), QString());
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(ClipboardAndAddressTest, AClickOnTheAddressOpensOnlyWebAddresses)
{
    const struct
    {
        QString text;
        bool enableUrl;
        std::optional<int> answer;
        QString opened;
        int beeps;
    } cases[] = {
        {"   ", false, {}, "", 1},
        {"http://www.", true, {}, "", 0},
        {"  http://www.  ", true, {}, "", 0},
        {"HTTP://WWW.", false, {}, "http://www.", 0},
        {" http://www.example.org/a?b=1 ", false, {}, "http://www.example.org/a?b=1", 0},
        {"https://bank.example.org", true, MessageBox::Yes, "https://bank.example.org", 0},
        {"https://bank.example.org", true, MessageBox::No, "", 0},
        {"www.example.org", false, {}, "http://www.example.org", 0},
        {"www.example.org/wiki/Help:Contents", false, {}, "http://www.example.org/wiki/Help:Contents", 0},
        {"localhost:8080/x", false, {}, "http://localhost:8080/x", 0},
        {"/usr/bin/xterm", true, {}, "", 1},
        {"file:///etc/passwd", true, {}, "", 1},
        {"javascript:alert(1)", true, {}, "", 1},
        {"mailto:a@x.org", true, {}, "", 1},
        {"http://", true, {}, "", 1},
        {"C:\\Windows\\notepad.exe", true, {}, "", 1},
        {"http://exa mple.org", true, {}, "", 1},
        {"http://www.example.com/my page", false, {}, "http://www.example.com/my%20page", 0},
        {"https://fonts.example.com/css?family=Roboto|Open+Sans", false, {},
            "https://fonts.example.com/css?family=Roboto%7COpen+Sans", 0},
        {"www.example.com/{a}^\"b\"", false, {}, "http://www.example.com/%7Ba%7D%5E%22b%22", 0},
        {"http://example.com/100%", false, {}, "http://example.com/100%25", 0},
        {"ftp://example.com/a b", true, {}, "", 1},
        {"file:///my page", true, {}, "", 1},
    };
    for (const auto& c : cases) {
        platform.urlOpener.opened.clear();
        platform.messageBox.shown.clear();
        platform.beeper.beeps = 0;
        setAsking(c.enableUrl);
        if (c.answer) {
            platform.messageBox.answers = {*c.answer};
        }
        clickAddress(c.text);
        const std::string what = c.text.toStdString();
        EXPECT_EQ(platform.urlOpener.opened, c.opened.isEmpty() ? QStringList() : QStringList(c.opened)) << what;
        EXPECT_EQ(platform.beeper.beeps, c.beeps) << what;
        EXPECT_EQ(platform.messageBox.shown.size(), c.answer ? 1 : 0) << what;
        if (c.answer) {
            EXPECT_EQ(platform.messageBox.shown[0].prompt, "将要启动浏览器以打开选定的网页?你希望继续吗?");
            EXPECT_EQ(platform.messageBox.shown[0].title, "运行浏览器?");
            EXPECT_EQ(platform.messageBox.shown[0].style, 4);
        }
    }
}

TEST_F(ClipboardAndAddressTest, EveryClickIntoTheBoxCounts)
{
    Controls(*window).TxtURL->setText("http://example.org");
    QTest::mouseClick(Controls(*window).TxtURL, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Controls(*window).TxtURL, Qt::LeftButton, {}, QPoint(40, 5));
    QTest::mouseClick(Controls(*window).TxtURL, Qt::RightButton, {}, QPoint(40, 5));
    EXPECT_EQ(platform.urlOpener.opened.size(), 2);
}

TEST_F(ClipboardAndAddressTest, ADoubleClickOpensTheAddressOnceAndAsksOnce)
{
    setAsking(true);
    platform.messageBox.answers = {MessageBox::Yes, MessageBox::Yes};
    Controls(*window).TxtURL->setText("http://example.org");
    // What a double click brings: press, release, press, double click, release.
    const QPoint at(5, 5);
    QTest::mouseClick(Controls(*window).TxtURL, Qt::LeftButton, {}, at);
    QTest::mousePress(Controls(*window).TxtURL, Qt::LeftButton, {}, at);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, Controls(*window).TxtURL->mapToGlobal(at), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Controls(*window).TxtURL, &doubleClick);
    QTest::mouseRelease(Controls(*window).TxtURL, Qt::LeftButton, {}, at);
    EXPECT_EQ(platform.urlOpener.opened, QStringList({"http://example.org"}));
    EXPECT_EQ(platform.messageBox.shown.size(), 1);
    QTest::mouseClick(Controls(*window).TxtURL, Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_EQ(platform.urlOpener.opened.size(), 2);
}

} // namespace
