#include "WindowTest.h"

#include "RecordFiles.h"
#include "SiteRecord.h"

#include <QElapsedTimer>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

using RecordFiles::deleted;
using RecordFiles::record;
using RecordFiles::six;

// A file system that reports no change: a network share.
class SilentWatch : public FolderWatch
{
public:
    void watch(const QString&, std::function<void(const QList<QByteArray>&)>) override { }
};

// The program open while a sync tool brings in another machine's files: each arrives under a name of
// its own and is renamed into place, as Syncthing, Nextcloud and Dropbox do.
class FollowingFilesTest : public WindowTest
{
protected:
    void open(Platform services)
    {
        window = std::make_unique<MainWindow>(services);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void syncIn(const char* name, const QByteArray& bytes)
    {
        const QString arriving = dataFile(name) + ".syncthing.tmp";
        RecordFiles::write(arriving, bytes);
        ASSERT_EQ(std::rename(qPrintable(arriving), qPrintable(dataFile(name))), 0);
    }
};

TEST_F(FollowingFilesTest, AnotherMachinesEntryIsListedWithNoActionAndTheShownOneStays)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"), six());
    open(platform.services());
    clickLine(1);
    Controls(*window).TxtPassword->setText("p2");
    QElapsedTimer clock;
    clock.start();
    syncIn("Sitewarden2.dta", six() + record(7, "seven", "u7", "p7"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).size() == 7; }, 5000));
    std::printf("listed %lld ms after the rename\n", clock.elapsed());
    EXPECT_EQ(listLines(*window).last(), "seven");
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u2");
    EXPECT_EQ(platform.beeper.beeps, 0);
    // The entry shown is the one in the file: an update goes to it.
    Controls(*window).TxtPassword->setText("new");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(dataFile("Sitewarden2.dta")), 2), record(2, "two", "u2", "new"));
}

// Another copy of the program writes in place; a sync tool renames in a file of the same size that it
// gave the old one's time (as Syncthing gives a file the time it had on the other machine).
TEST_F(FollowingFilesTest, AChangeInPlaceOrOfTheSameSizeAndTimeIsSeen)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"), six());
    open(platform.services());
    RecordFiles::write(dataFile("Sitewarden2.dta"), six() + record(7, "seven"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).size() == 7; }, 5000));

    QByteArray renamed = six() + record(7, "SEVEN");
    const QString arriving = dataFile("Sitewarden2.dta") + ".syncthing.tmp";
    RecordFiles::write(arriving, renamed);
    struct stat old = {};
    ASSERT_EQ(::stat(QFile::encodeName(dataFile("Sitewarden2.dta")).constData(), &old), 0);
    const struct timespec times[2] = {old.st_atim, old.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(arriving).constData(), times, 0), 0);
    ASSERT_EQ(std::rename(qPrintable(arriving), qPrintable(dataFile("Sitewarden2.dta"))), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).value(6) == "SEVEN"; }, 5000));
}

// Line 2 chosen, then changed on the other machine: the entry stays chosen while its slot holds it,
// else nothing is chosen and the boxes are empty. What the user is typing stays, and 更新(U), pressed
// twice, writes only to the entry chosen: at the second press where the first was refused.
TEST_F(FollowingFilesTest, WhatTheUserChoseStaysWhileTheFileHoldsItElseNothingIsChosen)
{
    const QByteArray changed = record(2, "two", "u2x", "p2x");
    const struct
    {
        const char* what;
        QByteArray slot2;
        bool kept;
        QByteArray typedSlot2;
    } cases[] = {
        {"another entry added", record(2, "two", "u2", "p2"), true, record(2, "two", "u2", "p2typed")},
        {"its fields changed", changed, true, record(2, "two", "u2x", "p2typed")},
        {"its slot reused", record(2, "beta", "ub", "pb"), false, {}},
        {"erased", deleted(2), false, {}},
        {"cut off", {}, false, {}},
    };
    for (const auto& c : cases) {
        for (const bool typing : {false, true}) {
            RecordFiles::write(dataFile("Sitewarden2.dta"), six());
            open(platform.services());
            clickLine(1);
            if (typing) {
                QTest::keyClick(Controls(*window).TxtPassword, Qt::Key_End);
                QTest::keyClicks(Controls(*window).TxtPassword, "typed");
            }
            QByteArray file = six() + record(7, "seven");
            file.replace(307, 307, c.slot2);
            file.truncate(c.slot2.isEmpty() ? 307 : file.size());
            syncIn("Sitewarden2.dta", file);
            ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).size() == file.size() / 307; }, 5000));
            const std::string what = std::string(c.what) + (typing ? ", typing" : "");
            EXPECT_EQ(selected(), c.kept ? 1 : -1) << what;
            const SiteEntry now = c.kept ? SiteRecord::entry(c.slot2.constData()) : SiteEntry();
            EXPECT_EQ(Controls(*window).TxtUser->text(), typing ? "u2" : now.userId) << what;
            EXPECT_EQ(Controls(*window).TxtPassword->text(), typing ? "p2typed" : now.password) << what;

            Controls(*window).Command4->click();
            Controls(*window).Command4->click();
            const QByteArray written = RecordFiles::read(dataFile("Sitewarden2.dta"));
            EXPECT_EQ(written, typing && c.kept ? QByteArray(file).replace(307, 307, c.typedSlot2) : file) << what;
            EXPECT_TRUE(platform.messageBox.shown.isEmpty()) << what;
        }
    }
}

TEST_F(FollowingFilesTest, TheEmailListFollowsItsFileAndKeepsWhatIsTyped)
{
    RecordFiles::write(dataFile("Email.dta"), "a@x.org\r\n");
    open(platform.services());
    syncIn("Email.dta", "a@x.org\r\nb@x.org\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return emailItems(*window).size() == 2; }, 5000));
    QComboBox* box = Controls(*window).Combo2;
    box->lineEdit()->selectAll();
    typeText(box->lineEdit(), "typed@x.org");
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    syncIn("Email.dta", "a@x.org\r\nb@x.org\r\nc@x.org\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return emailItems(*window).size() == 3; }, 5000));
    EXPECT_EQ(box->currentText(), "typed@x.or");

    // The address chosen stays chosen where it now stands, and 擦除(R) erases it; when it is gone,
    // nothing is chosen in its place and 擦除(R) only beeps.
    box->setCurrentIndex(1);
    emit box->activated(1);
    syncIn("Email.dta", "b@x.org\r\nc@x.org\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return emailItems(*window).size() == 2; }, 5000));
    platform.messageBox.answers = {MessageBox::Yes, MessageBox::Yes};
    Controls(*window).Command2->click();
    EXPECT_EQ(RecordFiles::read(dataFile("Email.dta")), "c@x.org\r\n\r\n");
    syncIn("Email.dta", "d@x.org\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return emailItems(*window) == QStringList({"d@x.org"}); }, 5000));
    EXPECT_EQ(box->currentIndex(), -1);
    Controls(*window).Command2->click();
    EXPECT_EQ(RecordFiles::read(dataFile("Email.dta")), "d@x.org\r\n");
    EXPECT_EQ(platform.beeper.beeps, 1);
}

// Both machines saved while apart: the other side's entry and address come back from the copy the
// sync tool left, once, and the user is told which.
TEST_F(FollowingFilesTest, AConflictCopyLosesNoEntry)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"), six());
    open(platform.services());
    syncIn(
        "Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta", six().left(2 * 307) + record(3, "theirs", "t", "p"));
    syncIn("Email.sync-conflict-20261208-101500-ABCDEFG.dta", "mine@x.org\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).value(2) == "theirs"; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return emailItems(*window).contains("mine@x.org"); }, 5000));
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    EXPECT_EQ(platform.messageBox.shown[0].title, QStringLiteral("同步冲突"));
    EXPECT_EQ(platform.messageBox.shown[0].prompt,
        QStringLiteral("同步工具留下了冲突副本, 其中这些已加回:\r\n网站: theirs\r\n电子邮件地址: mine@x.org"));
    EXPECT_TRUE(QFileInfo::exists(dataFile("Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta.merged")));
}

// A network share reports nothing: the files are looked at as the user comes back to the window,
// and before a command.
TEST_F(FollowingFilesTest, WhereNothingIsReportedTheWindowLooksWhenActivated)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"), six());
    SilentWatch silent;
    Platform services = platform.services();
    open({services.messageBox, services.beeper, services.clipboard, services.settings, services.urlOpener,
        services.placement, services.dataFolder, silent});
    syncIn("Sitewarden2.dta", six() + record(7, "seven"));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(listLines(*window).size(), 6);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return listLines(*window).size() == 7; }, 5000));

    syncIn("Sitewarden2.dta", six() + record(7, "seven") + record(8, "eight"));
    Controls(*window).Text1->setText("nine");
    Controls(*window).TxtUser->setText("u");
    Controls(*window).TxtPassword->setText("p");
    Controls(*window).CmdAdd->click();
    EXPECT_EQ(listLines(*window), QStringList({"one", "two", "nine", "four", "(Deleted)", "six", "seven", "eight"}));
}

} // namespace
