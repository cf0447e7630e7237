#include "WindowTest.h"

#include "DefaultUserIdDialog.h"
#include "RecordFiles.h"

#include <QFileInfo>
#include <QLabel>

namespace {

class DefaultUserIdTest : public WindowTest
{
protected:
    DefaultUserIdTest()
    {
        window = std::make_unique<MainWindow>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Runs `inDialog` once the modal dialog is up, while the menu command waits for it.
    void editWith(std::function<void(DefaultUserIdDialog*)> inDialog)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<DefaultUserIdDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            // qWaitForWindowActive() counts the owner's activity as the dialog's own.
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
            ran = true;
            inDialog(dialog);
            if (dialog->isVisible()) {
                dialog->close();
            }
        });
        Controls(*window).mnuSetDefaults->trigger();
        EXPECT_TRUE(ran);
    }

    static void saveAs(DefaultUserIdDialog* dialog, const QString& text)
    {
        DialogControls(*dialog).Text1->setText(text);
        QSignalSpy clicked(DialogControls(*dialog).Command1, &QPushButton::clicked);
        QTest::keyClick(DialogControls(*dialog).Text1, Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(clicked.count(), 1);
    }

    QString path = dataFile("default.dta");
};

TEST_F(DefaultUserIdTest, LoadReadsTheFirstLineTrimmedIntoTheUserBox)
{
    const struct
    {
        const char* what;
        std::optional<QByteArray> file;
        QString expected;
    } cases[] = {
        {"no file", std::nullopt, ""},
        {"blanks around, further lines", QByteArray("  me@x.org  \r\nsecond\r\n"), "me@x.org"},
        {"LF alone ends the line", QByteArray("me@x.org\nsecond\n"), "me@x.org"},
        {"CR alone ends the line", QByteArray("me@x.org\rsecond"), "me@x.org"},
        {"blanks inside stay", QByteArray("a b\r\n"), "a b"},
        {"GBK", QByteArray::fromHex("d6d0cec40d0a"), QStringLiteral("中文")},
        {"empty file", QByteArray(), ""},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        if (c.file) {
            RecordFiles::write(path, *c.file);
        }
        Controls(*window).TxtUser->setText("typed");
        Controls(*window).CmdPaste[3]->click();
        EXPECT_EQ(Controls(*window).TxtUser->text(), c.expected) << c.what;
    }
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(DefaultUserIdTest, TheDialogShowsTheStoredIdAndSavesTheTrimmedText)
{
    RecordFiles::write(path, "  old@x.org \r\nmore\r\n");
    Controls(*window).TxtUser->setText("typed by the user");
    Controls(*window).TxtPassword->setFocus();
    editWith([&](DefaultUserIdDialog* dialog) {
        EXPECT_EQ(DialogControls(*dialog).Text1->text(), "old@x.org");
        EXPECT_TRUE(DialogControls(*dialog).Text1->hasFocus());
        EXPECT_EQ(Controls(*window).TxtUser->text(), "old@x.org");
        saveAs(dialog, "  new id@x.org  ");
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(RecordFiles::read(path), "new id@x.org\r\n");
    // The user box keeps the value stored before, until the default button fetches the new one.
    EXPECT_EQ(Controls(*window).TxtUser->text(), "old@x.org");
    // The focus goes to the description box as the main window becomes active again.
    EXPECT_EQ(window->focusWidget(), Controls(*window).Text1);
    Controls(*window).CmdPaste[3]->click();
    EXPECT_EQ(Controls(*window).TxtUser->text(), "new id@x.org");
}

TEST_F(DefaultUserIdTest, AnEmptySaveWritesAnEmptyLineAndANewFileIsOwnerOnly)
{
    editWith([](DefaultUserIdDialog* dialog) { saveAs(dialog, "   "); });
    EXPECT_EQ(RecordFiles::read(path), "\r\n");
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    Controls(*window).TxtUser->setText("typed");
    Controls(*window).CmdPaste[3]->click();
    EXPECT_EQ(Controls(*window).TxtUser->text(), QString());
}

TEST_F(DefaultUserIdTest, EnterAndEscLeaveTheDialogOpenAndClosingOtherwiseWritesTheOldValue)
{
    RecordFiles::write(path, "kept\r\nextra\r\n");
    editWith([](DefaultUserIdDialog* dialog) {
        DialogControls(*dialog).Text1->setText("changed");
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(DialogControls(*dialog).Text1, key);
            EXPECT_TRUE(dialog->isVisible()) << key;
        }
        DialogControls(*dialog).Command1->setFocus();
        QTest::keyClick(DialogControls(*dialog).Command1, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_EQ(RecordFiles::read(path), "kept\r\n");
}

TEST_F(DefaultUserIdTest, AnIdTheFileCannotHoldIsRefused)
{
    RecordFiles::write(path, "kept\r\n");
    editWith([&](DefaultUserIdDialog* dialog) {
        saveAs(dialog, QString::fromUtf8("\xF0\x9F\x98\x80"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(platform.beeper.beeps, 1);
    });
    EXPECT_EQ(RecordFiles::read(path), "kept\r\n");
}

TEST_F(DefaultUserIdTest, AFailedWriteIsSaidAndKeepsTheStoredId)
{
    RecordFiles::write(path, "kept\r\n");
    platform.dataFolder.folder = dir.path() + "/gone";
    editWith([](DefaultUserIdDialog* dialog) { saveAs(dialog, "new"); });
    EXPECT_EQ(RecordFiles::read(path), "kept\r\n");
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, QStringLiteral("无法保存默认用户 ID."));
    EXPECT_EQ(platform.messageBox.shown[0].title, QStringLiteral("保存默认用户 ID 出错!"));
    EXPECT_EQ(platform.messageBox.shown[0].style, MessageBox::Critical);
}

// A sync tool brings in an ID set on another machine while the dialog is open.
TEST_F(DefaultUserIdTest, AnIdChangedElsewhereIsKeptUnlessTheUserEditsIt)
{
    for (const QString& typed : {QString(), QStringLiteral("mine")}) {
        RecordFiles::write(path, "old\r\n");
        editWith([&](DefaultUserIdDialog* dialog) {
            RecordFiles::write(path + ".new", "newer\r\n");
            ASSERT_EQ(::rename(qPrintable(path + ".new"), qPrintable(path)), 0);
            saveAs(dialog, typed.isNull() ? DialogControls(*dialog).Text1->text() : typed);
        });
        EXPECT_EQ(RecordFiles::read(path), typed.isNull() ? "newer\r\n" : "mine\r\n");
    }
}

// Bytes from another code page, or cut after a lead byte: saved unedited, or the dialog closed
// otherwise, they go back as stored; an edit GBK cannot hold is refused.
TEST_F(DefaultUserIdTest, AnUneditedIdGoesBackAsItsStoredBytes)
{
    const struct
    {
        QByteArray stored;
        QString typed;
        QByteArray written;
        int beeps;
    } cases[] = {
        {"zo\xeb.smith", {}, "zo\xeb.smith\r\n", 0},
        {"caf\xe9", {}, "caf\xe9\r\n", 0},
        {"caf\xe9", "cafe", "cafe\r\n", 0},
        {"caf\xe9", QStringLiteral("caf\uFFFDe"), "caf\xe9\r\n", 1},
    };
    for (const auto& c : cases) {
        RecordFiles::write(path, "  " + c.stored + "  \r\nsecond\r\n");
        const int beeps = platform.beeper.beeps;
        editWith([&](DefaultUserIdDialog* dialog) {
            saveAs(dialog, c.typed.isNull() ? DialogControls(*dialog).Text1->text() : c.typed);
            EXPECT_EQ(dialog->isVisible(), c.beeps > 0) << c.stored.toStdString();
        });
        EXPECT_EQ(RecordFiles::read(path), c.written) << c.stored.toStdString();
        EXPECT_EQ(platform.beeper.beeps - beeps, c.beeps) << c.stored.toStdString();
    }
}

TEST_F(DefaultUserIdTest, DialogLayout)
{
    editWith([](DefaultUserIdDialog* dialog) {
        EXPECT_EQ(dialog->size(), QSize(297, 85));
        EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_TRUE(dialog->isModal());
        const struct
        {
            QWidget* control;
            const char* name;
            QString text;
            QRect pixels;
        } rows[] = {
            {DialogControls(*dialog).Command1, "Command1", "保存(&S)", {232, 53, 49, 25}},
            {DialogControls(*dialog).Text1, "Text1", "", {16, 24, 265, 19}},
            {DialogControls(*dialog).Label2, "Label2", "你最常用的电子邮件地址.              ", {16, 48, 201, 17}},
            {DialogControls(*dialog).Label1, "Label1", "输入默认用户 ID", {16, 8, 281, 17}},
        };
        for (const auto& row : rows) {
            EXPECT_EQ(row.control->objectName(), row.name);
            EXPECT_EQ(row.control->geometry(), row.pixels) << row.name;
            const QString text = qobject_cast<QLabel*>(row.control) ? qobject_cast<QLabel*>(row.control)->text()
                : qobject_cast<QPushButton*>(row.control)           ? qobject_cast<QPushButton*>(row.control)->text()
                                                                    : qobject_cast<QLineEdit*>(row.control)->text();
            EXPECT_EQ(text, row.text) << row.name;
        }
        EXPECT_EQ(shownFamily(DialogControls(*dialog).Label1->font()), designFamily("MS Sans Serif"));
        EXPECT_DOUBLE_EQ(DialogControls(*dialog).Label1->font().pointSizeF(), 9.75);
        EXPECT_FALSE(DialogControls(*dialog).Command1->autoDefault());
        QTest::keyClick(DialogControls(*dialog).Text1, Qt::Key_Tab);
        EXPECT_TRUE(DialogControls(*dialog).Command1->hasFocus());
    });
}

} // namespace
