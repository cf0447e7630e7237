#include "WindowTest.h"

#include "RecordFiles.h"

namespace {

using RecordFiles::deleted;
using RecordFiles::record;
using RecordFiles::six;

class EntryCommandsTest : public WindowTest
{
protected:
    MainWindow& open(const QByteArray& records)
    {
        RecordFiles::write(path, records);
        window = std::make_unique<MainWindow>(platform.services());
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    QStringList lines() const { return listLines(*window); }

    void fill(const QString& name, const QString& user, const QString& password, const QString& url = {})
    {
        Controls(*window).Text1->setText(name);
        Controls(*window).TxtUser->setText(user);
        Controls(*window).TxtPassword->setText(password);
        Controls(*window).TxtURL->setText(url);
    }

    QString path = dataFile("Sitewarden2.dta");
};

TEST_F(EntryCommandsTest, SaveRefusesWhatItCannotStoreWithABeepAndTheFocus)
{
    const QString longChinese = QStringLiteral("密").repeated(18);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const struct
    {
        QString name, user, password, url;
        const char* focus;
    } cases[] = {
        {"", "", "p", "", "Text1"},
        {"   ", "  ", "  ", "", "Text1"},
        {"(Deleted)", "u", "p", "", "Text1"},
        {" (Deleted)  ", "u", "p", "", "Text1"},
        {QStringLiteral("Bank \uD55C"), "u", "p", "", "Text1"},
        {"a", "", "p", "", "TxtUser"},
        {"a", "u", " ", "", "TxtPassword"},
        {"a", QString(36, 'x'), "p", "", "TxtUser"},
        {"a", "u", longChinese, "", "TxtPassword"},
        {"a", emoji, "p", "", "TxtUser"},
        {"a", "u", "p", "http://" + QString(194, 'w'), "TxtURL"},
    };
    open(six());
    const QByteArray before = RecordFiles::read(path);
    int beeps = 0;
    for (const auto& c : cases) {
        fill(c.name, c.user, c.password, c.url);
        Controls(*window).CmdAdd->setFocus();
        Controls(*window).CmdAdd->click();
        const std::string what = (c.name + "|" + c.user + "|" + c.password).toStdString();
        EXPECT_EQ(platform.beeper.beeps, ++beeps) << what;
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus) << what;
    }
    EXPECT_EQ(RecordFiles::read(path), before);
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(EntryCommandsTest, SaveAcceptsWhatFitsExactly)
{
    const struct
    {
        QString name, user, password, url;
        QByteArray stored;
    } cases[] = {
        {"\t\t", "u", "p", "", record(1, "\t\t", "u", "p")},
        {QStringLiteral("\u3000"), "u", "p", "", record(1, QByteArray::fromHex("a1a1"), "u", "p")},
        {"(deleted)", "u", "p", "", record(1, "(deleted)", "u", "p")},
        {QString(40, 'n'), QString(35, 'u'), QStringLiteral("密").repeated(17), "http://" + QString(193, 'w'),
            record(1, QByteArray(35, 'n'), QByteArray(35, 'u'), QByteArray::fromHex(QByteArray("c3dc").repeated(17)),
                "http://" + QByteArray(193, 'w'))},
        // The blanks typed around an address are not part of it, and take none of its 200 bytes.
        {"n", "u", "p", "  http://" + QString(193, 'w') + " ",
            record(1, "n", "u", "p", "http://" + QByteArray(193, 'w'))},
    };
    for (const auto& c : cases) {
        open({});
        fill(c.name, c.user, c.password, c.url);
        Controls(*window).CmdAdd->click();
        EXPECT_EQ(RecordFiles::read(path), c.stored) << c.name.toStdString();
    }
    EXPECT_EQ(platform.beeper.beeps, 0);
}

TEST_F(EntryCommandsTest, SaveTakesTheFirstFreeSlotThenShowsRecordOne)
{
    open(six());
    fill("new", " nu ", "np", "http://new");
    Controls(*window).CmdAdd->click();

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "new", "nu", "np", "http://new"));
    EXPECT_EQ(file.size(), 6 * 307);
    EXPECT_EQ(lines(), QStringList({"one", "two", "new", "four", "(Deleted)", "six"}));
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u1");
    EXPECT_EQ(Controls(*window).TxtPassword->text(), "p1");
    EXPECT_EQ(Controls(*window).TxtURL->text(), "http://one");
    EXPECT_EQ(Controls(*window).List1->toolTip(), "one");
}

TEST_F(EntryCommandsTest, SaveWhenTheFileCannotBeOpenedShowsBothMessagesAndGoesOn)
{
    platform.dataFolder.folder = dir.path() + "/no-such-folder";
    open({});
    fill("a", "u", "p");
    Controls(*window).CmdAdd->click();
    ASSERT_EQ(platform.messageBox.shown.size(), 2);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, "文件更新错误!");
    EXPECT_EQ(platform.messageBox.shown[1].prompt, "无法保存文件!");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(selected(), -1);
}

TEST_F(EntryCommandsTest, EraseAsksThenMarksTheSelectedRecord)
{
    open(six());
    clickLine(3);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u4");

    platform.messageBox.answers = {MessageBox::No};
    Controls(*window).Command1->click();
    EXPECT_EQ(RecordFiles::read(path), six());
    ASSERT_EQ(platform.messageBox.shown.size(), 1);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, "从列表中删除网站?   ");
    EXPECT_EQ(platform.messageBox.shown[0].title, "删除此网址?");
    EXPECT_EQ(platform.messageBox.shown[0].style, 4);

    clickLine(4);
    platform.messageBox.answers = {MessageBox::Yes};
    Controls(*window).Command1->click();
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(RecordFiles::slot(file, 5), deleted(5));
    EXPECT_EQ(file.left(4 * 307), six().left(4 * 307));
    EXPECT_EQ(RecordFiles::slot(file, 6), RecordFiles::slot(six(), 6));
    EXPECT_EQ(lines(), QStringList({"one", "two", "(Deleted)", "four", "(Deleted)", "six"}));
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u1");
}

TEST_F(EntryCommandsTest, EraseWithNothingSelectedOnlyBeeps)
{
    for (const QByteArray& records : {QByteArray(), six()}) {
        open(records);
        Controls(*window).Command1->click();
    }
    EXPECT_EQ(platform.beeper.beeps, 2);
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(EntryCommandsTest, UpdateAfterTypingANewDescriptionKeepsTheOldOne)
{
    open(six());
    clickLine(1);
    QTest::keyClicks(Controls(*window).Text1, "renamed");
    EXPECT_EQ(Controls(*window).TxtUser->text(), QString());
    EXPECT_EQ(Controls(*window).TxtURL->text(), "http://www.");
    Controls(*window).TxtUser->setText("nu");
    Controls(*window).TxtPassword->setText(" np ");
    Controls(*window).Command4->click();

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(RecordFiles::slot(file, 2), record(2, "two", "nu", "np", "http://www."));
    EXPECT_EQ(lines()[1], "two");
    EXPECT_EQ(Controls(*window).TxtPassword->text(), " np ");
}

// One line at a time: a second line chosen with Ctrl or Shift takes the place of the first.
TEST_F(EntryCommandsTest, OneLineIsChosenAtATime)
{
    open(six());
    clickLine(0);
    QListView* list = Controls(*window).List1;
    for (const Qt::KeyboardModifier extend : {Qt::ControlModifier, Qt::ShiftModifier}) {
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, extend, list->visualRect(list->model()->index(1, 0)).center());
        EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1) << extend;
    }
}

// A line whose slot cannot be read (the disk gone a moment) leaves the boxes as they were.
TEST_F(EntryCommandsTest, ALineThatCannotBeReadLeavesTheBoxes)
{
    open(six());
    clickLine(1);
    platform.dataFolder.folder = dir.path() + "/gone";
    clickLine(0);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u2");
}

// With no line chosen, the entry shown is record 1: after start-up, and after a save.
TEST_F(EntryCommandsTest, UpdateWithNoLineChosenRewritesRecordOne)
{
    open(six());
    Controls(*window).TxtPassword->setText("after start");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 1), record(1, "one", "u1", "after start", "http://one"));
    fill("seven", "u7", "p7");
    Controls(*window).CmdAdd->click();
    Controls(*window).TxtPassword->setText("after save");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 1), record(1, "one", "u1", "after save", "http://one"));
    EXPECT_EQ(platform.beeper.beeps, 0);
}

TEST_F(EntryCommandsTest, UpdateRefusesWhatItCannotStoreAndAnEmptyFile)
{
    open(six());
    clickLine(0);
    Controls(*window).TxtPassword->setText(QString(36, 'p'));
    Controls(*window).Command4->click();
    EXPECT_EQ(platform.beeper.beeps, 1);
    EXPECT_EQ(QApplication::focusWidget(), Controls(*window).TxtPassword);
    EXPECT_EQ(RecordFiles::read(path), six());

    open({});
    fill("", "u", "p", "http://x");
    Controls(*window).Command4->click();
    EXPECT_EQ(platform.beeper.beeps, 2);
    EXPECT_EQ(RecordFiles::read(path), QByteArray());
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(EntryCommandsTest, TheListTooltipNamesTheSelectedLine)
{
    open(six());
    const QPoint overLine3
        = Controls(*window).List1->visualRect(Controls(*window).List1->model()->index(2, 0)).center();
    QTest::mouseMove(Controls(*window).List1->viewport(), overLine3);
    Controls(*window).List1->setToolTip("stale");
    QTest::mouseMove(Controls(*window).List1->viewport(), overLine3 + QPoint(1, 1));
    EXPECT_EQ(Controls(*window).List1->toolTip(), QString());

    clickLine(3);
    EXPECT_EQ(Controls(*window).List1->toolTip(), "four");
    QTest::mouseMove(Controls(*window).List1->viewport(), overLine3);
    EXPECT_EQ(Controls(*window).List1->toolTip(), "four");

    QTest::keyClick(Controls(*window).List1, Qt::Key_Down);
    EXPECT_EQ(Controls(*window).List1->toolTip(), "(Deleted)");
    EXPECT_EQ(Controls(*window).TxtUser->text(), QString());
}

TEST_F(EntryCommandsTest, AClickOnTheSelectedLineShowsItsEntryAfresh)
{
    open(six());
    clickLine(1);
    Controls(*window).TxtUser->setText("edited");
    clickLine(1);
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u2");
}

TEST_F(EntryCommandsTest, TypingADescriptionStartsANewEntry)
{
    open(six());
    clickLine(0);
    QTest::keyClick(Controls(*window).Text1, Qt::Key_Space);
    EXPECT_EQ(Controls(*window).TxtUser->text(), QString());
    EXPECT_EQ(Controls(*window).TxtPassword->text(), QString());
    EXPECT_EQ(Controls(*window).TxtURL->text(), "http://www.");

    Controls(*window).TxtUser->setText("kept");
    QTest::keyClick(Controls(*window).Text1, Qt::Key_Backspace);
    EXPECT_EQ(Controls(*window).Text1->text(), QString());
    EXPECT_EQ(Controls(*window).TxtUser->text(), "kept");
}

// What another copy did meanwhile: slot 2 erased and taken by a new entry, or only erased.
// A change seen before the question: nothing is asked about an entry that is gone.
TEST_F(EntryCommandsTest, AnEraseAsksNothingOfAnEntryChangedElsewhere)
{
    open(six());
    clickLine(1);
    RecordFiles::write(path, six().replace(307, 307, deleted(2)));
    Controls(*window).Command1->click();
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
    EXPECT_EQ(platform.beeper.beeps, 1);
    EXPECT_EQ(selected(), -1);
}

TEST_F(EntryCommandsTest, EraseAndUpdateLeaveASlotAloneThatChangedBehindTheList)
{
    const QByteArray four = record(2, "Four", "u-four", "p-four");
    const struct
    {
        const char* what;
        QByteArray slot2;
        bool erase;
    } cases[] = {
        {"erase a slot now taken", four, true},
        {"update a slot now taken", four, false},
        {"erase a slot now free", deleted(2), true},
        {"update a slot now free", deleted(2), false},
        {"erase a slot cut off the file", {}, true},
        {"update a password changed elsewhere", record(2, "two", "u2", "changed"), false},
        {"erase a password changed elsewhere", record(2, "two", "u2", "changed"), true},
    };
    for (const auto& c : cases) {
        open(six());
        clickLine(1);
        QByteArray changed = six();
        changed.replace(307, 307, c.slot2);
        if (c.slot2.isEmpty()) {
            changed.truncate(307);
        }
        const int beeps = platform.beeper.beeps;
        platform.messageBox.shown.clear();
        if (c.erase) {
            // Changed while the user reads the question: the erase still finds it out.
            platform.messageBox.whileShown = [&] { RecordFiles::write(path, changed); };
            platform.messageBox.answers = {MessageBox::Yes};
            Controls(*window).Command1->click();
            platform.messageBox.whileShown = nullptr;
        } else {
            RecordFiles::write(path, changed);
            Controls(*window).TxtPassword->setText("typed");
            Controls(*window).Command4->click();
        }
        EXPECT_EQ(RecordFiles::read(path), changed) << c.what;
        EXPECT_EQ(platform.beeper.beeps, beeps + 1) << c.what;
        EXPECT_EQ(platform.messageBox.shown.size(), c.erase ? 1 : 0) << c.what;
        EXPECT_EQ(lines().value(1), c.slot2.isEmpty() ? QString() : QString(c.slot2.mid(2, 35).trimmed())) << c.what;
        // The entry chosen stays while its slot holds it; else nothing is chosen, and the boxes are empty.
        const bool kept = c.slot2.startsWith(record(2, "two").left(37));
        EXPECT_EQ(selected(), kept ? 1 : -1) << c.what;
        EXPECT_EQ(Controls(*window).TxtUser->text(), kept ? "u2" : "") << c.what;
        EXPECT_EQ(Controls(*window).TxtPassword->text(), kept ? "changed" : "") << c.what;
    }
}

// The file cut short by a backup, or slot 2 taken by another copy's entry, after the list was read.
TEST_F(EntryCommandsTest, SelectingALineShowsNoOtherEntrysLogin)
{
    for (const QByteArray& changed :
        {six().left(307), six().replace(307, 307, record(2, "Four", "u-four", "p-four"))}) {
        open(six());
        RecordFiles::write(path, changed);
        const int beeps = platform.beeper.beeps;
        clickLine(1);
        EXPECT_EQ(platform.beeper.beeps, beeps + 1);
        EXPECT_EQ(lines().value(1), changed.size() > 307 ? "Four" : "");
        EXPECT_EQ(selected(), -1);
        EXPECT_EQ(Controls(*window).TxtUser->text(), "");
        EXPECT_EQ(Controls(*window).TxtPassword->text(), "");
        EXPECT_EQ(Controls(*window).List1->toolTip(), "");
        EXPECT_EQ(RecordFiles::read(path), changed);
    }
}

TEST_F(EntryCommandsTest, AChangeElsewhereInTheFileDoesNotStopAnUpdate)
{
    open(six());
    clickLine(1);
    QByteArray changed = six();
    changed.replace(0, 307, record(1, "one", "other-copy"));
    RecordFiles::write(path, changed);
    Controls(*window).TxtPassword->setText("typed");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 2), record(2, "two", "u2", "typed"));
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 1), record(1, "one", "other-copy"));
    EXPECT_EQ(platform.beeper.beeps, 0);
    EXPECT_EQ(selected(), 1);
}

TEST_F(EntryCommandsTest, AnUpdateKeepsADescriptionGbkCannotReadByteForByte)
{
    const QByteArray name = "Caf\xe9 Bank";
    open(record(1, name, "u", "old"));
    clickLine(0);
    Controls(*window).TxtPassword->setText("new");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::read(path), record(1, name, "u", "new"));
    // What this window wrote is what it shows: a second update goes through.
    Controls(*window).TxtPassword->setText("newer");
    Controls(*window).Command4->click();
    EXPECT_EQ(RecordFiles::read(path), record(1, name, "u", "newer"));
    EXPECT_EQ(platform.beeper.beeps, 0);
}

TEST_F(EntryCommandsTest, EnterOnAFocusedButtonPressesItAndDoesNothingInATextBox)
{
    open(six());
    fill("typed", "u", "p");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(Controls(*window).TxtPassword, key);
    }
    EXPECT_EQ(RecordFiles::read(path), six());

    clickLine(0);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        platform.messageBox.answers = {MessageBox::No};
        Controls(*window).Command1->setFocus();
        QTest::keyClick(Controls(*window).Command1, key);
    }
    EXPECT_EQ(platform.messageBox.shown.size(), 2);

    fill("typed", "u", "p");
    Controls(*window).CmdAdd->setFocus();
    QTest::keyClick(Controls(*window).CmdAdd, Qt::Key_Return);
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 3), record(3, "typed", "u", "p"));
}

} // namespace
