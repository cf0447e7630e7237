#include "WindowTest.h"

#include "RecordFiles.h"
#include "frmDefault.h"

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
        window = std::make_unique<FrmSitewarden>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    static void compose(QWidget* box, const QString& preedit)
    {
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(box, &event);
    }

    std::unique_ptr<FrmSitewarden> window;
};

TEST_F(DesktopInputTest, CommandsWaitWhileAnInputMethodComposes)
{
    const struct
    {
        QLineEdit* FrmSitewarden::*box;
        Qt::Key key;
        Qt::KeyboardModifier modifier;
    } cases[] = {
        {&FrmSitewarden::TxtPassword, Qt::Key_S, Qt::AltModifier},
        {&FrmSitewarden::Text1, Qt::Key_H, Qt::ControlModifier},
        {&FrmSitewarden::Text1, Qt::Key_D, Qt::ControlModifier},
        {&FrmSitewarden::TxtURL, Qt::Key_E, Qt::AltModifier},
    };
    int dialogs = 0;
    for (const auto& c : cases) {
        QLineEdit* box = (*window).*c.box;
        box->setFocus();
        typeText(box, "米");
        const QString user = window->TxtUser->text();
        compose(box, "ma");
        // A command that ran would open the default user ID dialog: count it and close it.
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<frmDefault*>(QApplication::activeModalWidget())) {
                ++dialogs;
                dialog->reject();
            }
        });
        QTest::keyClick(box, c.key, c.modifier);
        EXPECT_TRUE(platform.messageBox.shown.isEmpty()) << box->objectName().toStdString();
        EXPECT_EQ(dialogs, 0) << box->objectName().toStdString();
        EXPECT_EQ(box, QApplication::focusWidget());
        EXPECT_EQ(window->TxtUser->text(), user) << box->objectName().toStdString();
        EXPECT_EQ(RecordFiles::read(dataFile("Sitewarden2.dta")).size(), 307);
        typeText(box, "");
    }
    // Once the composition has ended, the commands are there again.
    QTest::keyClick(window->Text1, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(platform.messageBox.shown.size(), 1);
}

TEST_F(DesktopInputTest, TheDialogsSaveWaitsWhileComposingToo)
{
    frmDefault dialog(window->defaultUserId(), platform.beeper, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
    QSignalSpy saved(dialog.Command1, &QPushButton::clicked);
    compose(dialog.Text1, "wang");
    QTest::keyClick(dialog.Text1, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(saved.count(), 0);
    typeText(dialog.Text1, "王");
    QTest::keyClick(dialog.Text1, Qt::Key_S, Qt::AltModifier);
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
        {window->CmdAdd, Qt::Key_S, Qt::AltModifier},
        {window->Command4, Qt::Key_U, Qt::AltModifier},
        {window->Command1, Qt::Key_E, Qt::AltModifier},
        {window->CmdPaste[3], Qt::Key_D, Qt::AltModifier},
        {window->Command3, Qt::Key_A, Qt::AltModifier},
        {window->Command2, Qt::Key_R, Qt::AltModifier},
        {window->CmdAdd, Qt::Key_Return, Qt::NoModifier},
    };
    for (const auto& c : cases) {
        QWidget* focus = c.modifiers ? static_cast<QWidget*>(window->TxtPassword) : c.button;
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
    window->Text1->setFocus();
    const QString user = window->TxtUser->text();
    for (Qt::Key key : {Qt::Key_Q, Qt::Key_W, Qt::Key_Z}) {
        QTest::keyClick(window->Text1, key, Qt::AltModifier);
    }
    EXPECT_EQ(window->Text1->text(), "");
    EXPECT_EQ(window->TxtUser->text(), user);
    QTest::keyClicks(window->Text1, "qwz");
    EXPECT_EQ(window->Text1->text(), "qwz");

    frmDefault dialog(window->defaultUserId(), platform.beeper, window.get());
    dialog.Text1->setText("me");
    QTest::keyClick(dialog.Text1, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(dialog.Text1->text(), "me");
}

// Ctrl+Insert and the context menu's Copy; on X11 a selection (PRIMARY) too.
TEST_F(DesktopInputTest, WhatThePasswordBoxCopiesIsMarkedSecret)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto secret = [&](QClipboard::Mode mode) {
        const QMimeData* data = clipboard->mimeData(mode);
        return data && data->hasFormat("x-kde-passwordManagerHint");
    };
    for (QLineEdit* box : {window->TxtPassword, window->TxtUser}) {
        box->setFocus();
        box->setText("s3cret " + box->objectName());
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(clipboard->text(), box->text());
        EXPECT_EQ(secret(QClipboard::Clipboard), box == window->TxtPassword) << box->objectName().toStdString();
        clipboard->clear();
        box->copy();
        EXPECT_EQ(secret(QClipboard::Clipboard), box == window->TxtPassword) << box->objectName().toStdString();
        if (clipboard->supportsSelection()) {
            box->deselect();
            QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
            EXPECT_EQ(clipboard->text(QClipboard::Selection), box->text());
            EXPECT_EQ(secret(QClipboard::Selection), box == window->TxtPassword) << box->objectName().toStdString();
        }
    }
}

TEST_F(DesktopInputTest, ALongValueShowsItsStart)
{
    window->List1->setCurrentIndex(window->List1->model()->index(0, 0));
    ASSERT_EQ(window->TxtUser->text().trimmed(), "zhang.san.wangwu@example.com.cn");
    for (QLineEdit* box : {window->TxtUser, window->TxtURL}) {
        EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
    }
}

} // namespace
