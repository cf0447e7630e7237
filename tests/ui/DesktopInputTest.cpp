#include "WindowTest.h"

#include "DefaultUserIdDialog.h"
#include "RecordFiles.h"

#include <QClipboard>
#include <QMimeData>

namespace {

// Typing as on a Chinese desktop: input methods, Alt letters, copies of the password.
class DesktopInputTest : public WindowTest
{
protected:
    DesktopInputTest()
    {
        RecordFiles::write(dataFile("Sitewarden2.dta"),
            RecordFiles::record(1, "Bank", "zhang.san.wangwu@example.com.cn", "pw",
                "https://login.example.com.cn/account/login.aspx?ReturnUrl=home"));
        window = std::make_unique<MainWindow>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static void compose(QWidget* box, const QString& preedit)
    {
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(box, &event);
    }
};

TEST_F(DesktopInputTest, CommandsWaitWhileAnInputMethodComposes)
{
    const struct
    {
        const char* box;
        Qt::Key key;
        Qt::KeyboardModifier modifier;
    } cases[] = {
        {"TxtPassword", Qt::Key_S, Qt::AltModifier},
        {"Text1", Qt::Key_H, Qt::ControlModifier},
        {"Text1", Qt::Key_D, Qt::ControlModifier},
        {"TxtURL", Qt::Key_E, Qt::AltModifier},
    };
    int dialogs = 0;
    for (const auto& c : cases) {
        QLineEdit* box = Controls::find<QLineEdit>(*window, c.box);
        box->setFocus();
        typeText(box, "米");
        const QString user = Controls(*window).TxtUser->text();
        compose(box, "ma");
        // A command that ran would open the default user ID dialog: count it and close it.
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<DefaultUserIdDialog*>(QApplication::activeModalWidget())) {
                ++dialogs;
                dialog->reject();
            }
        });
        QTest::keyClick(box, c.key, c.modifier);
        EXPECT_TRUE(platform.messageBox.shown.isEmpty()) << box->objectName().toStdString();
        EXPECT_EQ(dialogs, 0) << box->objectName().toStdString();
        EXPECT_EQ(box, QApplication::focusWidget());
        EXPECT_EQ(Controls(*window).TxtUser->text(), user) << box->objectName().toStdString();
        EXPECT_EQ(RecordFiles::read(dataFile("Sitewarden2.dta")).size(), 307);
        typeText(box, "");
    }
    // Once the composition has ended, the commands are there again; so too once the box is left.
    QTest::keyClick(Controls(*window).Text1, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(platform.messageBox.shown.size(), 1);
    Controls(*window).Text1->setFocus();
    compose(Controls(*window).Text1, "ma");
    Controls(*window).TxtUser->setFocus();
    Controls(*window).Text1->setFocus();
    QTest::keyClick(Controls(*window).Text1, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(platform.messageBox.shown.size(), 2);
}

TEST_F(DesktopInputTest, TheDialogsSaveWaitsWhileComposingToo)
{
    DefaultUserIdFile file(platform.dataFolder);
    DefaultUserIdDialog dialog(QString(), file, platform.beeper, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    QSignalSpy saved(DialogControls(dialog).Command1, &QPushButton::clicked);
    compose(DialogControls(dialog).Text1, "wang");
    QTest::keyClick(DialogControls(dialog).Text1, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(saved.count(), 0);
    typeText(DialogControls(dialog).Text1, "王");
    QTest::keyClick(DialogControls(dialog).Text1, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(saved.count(), 1);
}

// Each button's command runs as its key goes down; a key held down runs it once.
TEST_F(DesktopInputTest, CommandsRunWhenTheirKeyGoesDownAndOnceWhileItIsHeld)
{
    const struct
    {
        QPushButton* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {Controls(*window).CmdAdd, Qt::Key_S, Qt::AltModifier},
        {Controls(*window).Command4, Qt::Key_U, Qt::AltModifier},
        {Controls(*window).Command1, Qt::Key_E, Qt::AltModifier},
        {Controls(*window).CmdPaste[3], Qt::Key_D, Qt::AltModifier},
        {Controls(*window).Command3, Qt::Key_A, Qt::AltModifier},
        {Controls(*window).Command2, Qt::Key_R, Qt::AltModifier},
        {Controls(*window).CmdAdd, Qt::Key_Return, Qt::NoModifier},
    };
    for (const auto& c : cases) {
        QWidget* focus = c.modifiers ? static_cast<QWidget*>(Controls(*window).TxtPassword) : c.button;
        focus->setFocus();
        QSignalSpy clicked(c.button, &QPushButton::clicked);
        const QString text = QKeySequence(c.key).toString().toLower();
        for (const bool repeat : {false, true, true, true}) {
            QTest::simulateEvent(focus, true, c.key, c.modifiers, text, repeat);
        }
        EXPECT_EQ(clicked.count(), 1) << c.button->objectName().toStdString() << " " << text.toStdString();
        QTest::simulateEvent(focus, false, c.key, c.modifiers, text, false);
        EXPECT_EQ(clicked.count(), 1) << c.button->objectName().toStdString() << " " << text.toStdString();
    }
}

TEST_F(DesktopInputTest, AltWithALetterOfNoCommandTypesNothing)
{
    Controls(*window).Text1->setFocus();
    const QString user = Controls(*window).TxtUser->text();
    for (Qt::Key key : {Qt::Key_Q, Qt::Key_W, Qt::Key_Z}) {
        QTest::keyClick(Controls(*window).Text1, key, Qt::AltModifier);
        QTest::keyClick(Controls(*window).Text1, key, Qt::AltModifier | Qt::ShiftModifier);
    }
    EXPECT_EQ(Controls(*window).Text1->text(), "");
    EXPECT_EQ(Controls(*window).TxtUser->text(), user);
    QTest::keyClicks(Controls(*window).Text1, "qwz");
    EXPECT_EQ(Controls(*window).Text1->text(), "qwz");
    // Alt with a key that types no character still does what it does: Alt+Backspace undoes.
    QTest::keyClick(Controls(*window).Text1, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(Controls(*window).Text1->text(), "");

    DefaultUserIdFile file(platform.dataFolder);
    DefaultUserIdDialog dialog(QString(), file, platform.beeper, window.get());
    DialogControls(dialog).Text1->setText("me");
    QTest::keyClick(DialogControls(dialog).Text1, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(DialogControls(dialog).Text1->text(), "me");
}

// Ctrl+Insert and the context menu's Copy; on X11 a selection (PRIMARY) too.
TEST_F(DesktopInputTest, WhatThePasswordBoxCopiesIsMarkedSecret)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto secret = [&](QClipboard::Mode mode) {
        const QMimeData* data = clipboard->mimeData(mode);
        return data && data->hasFormat("x-kde-passwordManagerHint");
    };
    for (QLineEdit* box : {Controls(*window).TxtPassword, Controls(*window).TxtUser}) {
        box->setFocus();
        box->setText("s3cret " + box->objectName());
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(clipboard->text(), box->text());
        EXPECT_EQ(secret(QClipboard::Clipboard), box == Controls(*window).TxtPassword)
            << box->objectName().toStdString();
        clipboard->clear();
        box->copy();
        EXPECT_EQ(secret(QClipboard::Clipboard), box == Controls(*window).TxtPassword)
            << box->objectName().toStdString();
        if (clipboard->supportsSelection()) {
            box->deselect();
            QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
            EXPECT_EQ(clipboard->text(QClipboard::Selection), box->text());
            EXPECT_EQ(secret(QClipboard::Selection), box == Controls(*window).TxtPassword)
                << box->objectName().toStdString();
        }
    }
}

TEST_F(DesktopInputTest, ALongValueShowsItsStart)
{
    Controls(*window).List1->setCurrentIndex(Controls(*window).List1->model()->index(0, 0));
    ASSERT_EQ(Controls(*window).TxtUser->text().trimmed(), "zhang.san.wangwu@example.com.cn");
    for (QLineEdit* box : {Controls(*window).TxtUser, Controls(*window).TxtURL}) {
        EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
    }
}

} // namespace
