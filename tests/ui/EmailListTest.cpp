#include "WindowTest.h"

#include "FileSizeLimit.h"
#include "RecordFiles.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <cstring>

namespace {

class EmailListTest : public WindowTest
{
protected:
    MainWindow& open(const QByteArray* contents = nullptr)
    {
        if (contents) {
            RecordFiles::write(path, *contents);
        }
        window = std::make_unique<MainWindow>(platform.services());
        return *window;
    }

    QStringList items() const { return emailItems(*window); }

    void typeAddress(const QString& text)
    {
        Controls(*window).Combo2->lineEdit()->selectAll();
        typeText(Controls(*window).Combo2->lineEdit(), text);
    }

    QString path = dataFile("Email.dta");
};

TEST_F(EmailListTest, ReadsAnyLineEndTrimsAndSkipsEmptyLines)
{
    const struct
    {
        const char* what;
        QByteArray file;
        QStringList expected;
    } cases[] = {
        {"CR LF", "a@x.org\r\nb@x.org\r\n", {"a@x.org", "b@x.org"}},
        {"LF alone", "a@x.org\nb@x.org\n", {"a@x.org", "b@x.org"}},
        {"CR alone", "a@x.org\rb@x.org", {"a@x.org", "b@x.org"}},
        {"blank lines and blanks around", "\r\n   \r\n  a@x.org  \r\n\n\nb@x.org", {"a@x.org", "b@x.org"}},
        {"GBK text", QByteArray::fromHex("d6d0cec4") + "@x.cn\r\n", {QStringLiteral("中文@x.cn")}},
        {"tabs stay", "\ta@x.org\r\n", {"\ta@x.org"}},
        {"duplicates stay", "a@x.org\r\na@x.org\r\n", {"a@x.org", "a@x.org"}},
    };
    for (const auto& c : cases) {
        open(&c.file);
        EXPECT_EQ(items(), c.expected) << c.what;
        EXPECT_EQ(Controls(*window).Combo2->currentIndex(), 0) << c.what;
        EXPECT_EQ(Controls(*window).Combo2->currentText(), c.expected.first()) << c.what;
    }
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(EmailListTest, NoFileMeansAnEmptyListAndNoMessage)
{
    open();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(Controls(*window).Combo2->currentText(), QString());
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(EmailListTest, SaveKeepsTheTypedBlanksInTheFileAndSelectsTheFirstAddress)
{
    const QByteArray file = "first@x.org\r\n";
    open(&file);
    typeAddress(QStringLiteral("  新@x.cn "));
    Controls(*window).Command3->click();

    EXPECT_EQ(RecordFiles::read(path), "first@x.org\r\n  " + QByteArray::fromHex("d0c2") + "@x.cn \r\n");
    EXPECT_EQ(items(), QStringList({"first@x.org", QStringLiteral("新@x.cn")}));
    EXPECT_EQ(Controls(*window).Combo2->currentText(), "first@x.org");
    EXPECT_EQ(platform.beeper.beeps, 0);

    // Enter in the box saves nothing, and lists nothing as if saved.
    const QByteArray saved = RecordFiles::read(path);
    typeAddress(QStringLiteral("entered@x.cn"));
    QTest::keyClick(Controls(*window).Combo2->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(items(), QStringList({"first@x.org", QStringLiteral("新@x.cn")}));
    EXPECT_EQ(RecordFiles::read(path), saved);
}

TEST_F(EmailListTest, ANewFileIsReadableByItsOwnerOnly)
{
    open();
    typeAddress("a@x.org");
    Controls(*window).Command3->click();
    EXPECT_EQ(RecordFiles::read(path), "a@x.org\r\n");
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
}

TEST_F(EmailListTest, ABlankOrUnstorableAddressBeepsAndChangesNothing)
{
    const QByteArray file = "a@x.org\r\n";
    open(&file);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QString refused[] = {QString(), QStringLiteral("    "), QString::fromUtf8("\xF0\x9F\x98\x80@x.org")};
    int beeps = 0;
    for (const QString& text : refused) {
        Controls(*window).Text1->setFocus();
        Controls(*window).Combo2->setEditText(text);
        Controls(*window).Command3->click();
        EXPECT_EQ(platform.beeper.beeps, ++beeps) << text.toStdString();
        EXPECT_TRUE(Controls(*window).Combo2->hasFocus()) << text.toStdString();
    }
    EXPECT_EQ(RecordFiles::read(path), file);
    EXPECT_EQ(items(), QStringList({"a@x.org"}));
}

TEST_F(EmailListTest, EraseAsksAndOnlyYesRemoves)
{
    const QByteArray file = "a@x.org\r\nb@x.org\r\n";
    open(&file);
    Controls(*window).Combo2->setCurrentIndex(1);
    emit Controls(*window).Combo2->activated(1);

    platform.messageBox.answers = {MessageBox::No};
    Controls(*window).Command2->click();
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, QStringLiteral("从列表中删除电子邮件地址?   "));
    EXPECT_EQ(platform.messageBox.shown[0].title, QStringLiteral("删除地址?"));
    EXPECT_EQ(platform.messageBox.shown[0].style, 4);
    EXPECT_EQ(RecordFiles::read(path), file);

    platform.messageBox.answers = {MessageBox::Yes};
    Controls(*window).Command2->click();
    EXPECT_EQ(RecordFiles::read(path), "a@x.org\r\n\r\n");
    EXPECT_EQ(items(), QStringList({"a@x.org"}));
}

TEST_F(EmailListTest, ErasingTheOnlyAddressLeavesAnEmptyLine)
{
    const QByteArray file = "a@x.org\r\n";
    open(&file);
    platform.messageBox.answers = {MessageBox::Yes};
    Controls(*window).Command2->click();
    EXPECT_EQ(RecordFiles::read(path), "\r\n");
    EXPECT_TRUE(items().isEmpty());
}

TEST_F(EmailListTest, EraseWithNothingChosenAsksNothing)
{
    open();
    Controls(*window).Command2->click();
    const QByteArray file = "a@x.org\r\n";
    open(&file);
    typeAddress("typed@x.org");
    Controls(*window).Command2->click();
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
    EXPECT_EQ(RecordFiles::read(path), file);
}

TEST_F(EmailListTest, AFailedSaveKeepsTheOldFileWhole)
{
    QByteArray file;
    for (int i = 0; i < 200; ++i) {
        file += "address" + QByteArray::number(i) + "@x.org\r\n";
    }
    open(&file);
    typeAddress("new@x.org");
    static QStringList logged;
    const QtMessageHandler before
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& at, const QString& text) {
              logged << QLatin1String(at.category) + QLatin1Char(' ') + text;
          });
    {
        const FileSizeLimit fullDisk(1000);
        Controls(*window).Command3->click();
    }
    qInstallMessageHandler(before);
    // The cause reaches the journal: the step, the file and the system's reason.
    EXPECT_EQ(logged,
        QStringList("sitewarden.files could not write " + path + ": " + QString::fromLocal8Bit(std::strerror(EFBIG))));
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, QStringLiteral("无法删除电子邮件文件."));
    EXPECT_EQ(platform.messageBox.shown[0].title, QStringLiteral("保存电子邮件出错!"));
    EXPECT_EQ(platform.messageBox.shown[0].style, 16);
    EXPECT_EQ(RecordFiles::read(path), file);
    EXPECT_EQ(items().size(), 200);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Email.dta", "Sitewarden2.dta"}));
}

// Another copy of the program saved b@x.org (and erased nothing) after this window read the list.
TEST_F(EmailListTest, SaveAndEraseKeepAnAddressSavedElsewhereMeanwhile)
{
    const QByteArray before = "a@x.org\r\nc@x.org\r\n";
    const QByteArray meanwhile = "a@x.org\r\nb@x.org\r\nc@x.org\r\n";
    const struct
    {
        const char* what;
        bool erase;
        bool whileAsked;
        QByteArray expected;
    } cases[] = {
        {"save", false, false, meanwhile + "d@x.org\r\n"},
        {"erase", true, false, "a@x.org\r\nb@x.org\r\n\r\n"},
        {"erase, saved elsewhere while the question is open", true, true, "a@x.org\r\nb@x.org\r\n\r\n"},
    };
    for (const auto& c : cases) {
        open(&before);
        if (c.whileAsked) {
            platform.messageBox.whileShown = [&] { RecordFiles::write(path, meanwhile); };
        } else {
            RecordFiles::write(path, meanwhile);
        }
        if (c.erase) {
            Controls(*window).Combo2->setCurrentIndex(1);
            platform.messageBox.answers = {MessageBox::Yes};
            Controls(*window).Command2->click();
        } else {
            typeAddress("d@x.org");
            Controls(*window).Command3->click();
        }
        platform.messageBox.whileShown = nullptr;
        EXPECT_EQ(RecordFiles::read(path), c.expected) << c.what;
        EXPECT_EQ(items().join(" "), QString(c.expected).simplified()) << c.what;
    }
}

TEST_F(EmailListTest, TypingTheStartOfAListedAddressKeepsWhatWasTyped)
{
    const QByteArray file = "wang@sina.com.cn\r\n";
    open(&file);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Controls(*window).Combo2->lineEdit()->clear();
    Controls(*window).Combo2->setFocus();
    QTest::keyClicks(Controls(*window).Combo2->lineEdit(), "wang@sina.com");
    EXPECT_EQ(Controls(*window).Combo2->currentText(), "wang@sina.com");
    Controls(*window).Command3->click();
    EXPECT_EQ(RecordFiles::read(path), "wang@sina.com.cn\r\nwang@sina.com\r\n");
}

} // namespace
