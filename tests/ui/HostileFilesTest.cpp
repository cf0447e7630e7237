#include "WindowTest.h"

#include "DefaultUserIdDialog.h"
#include "RecordFiles.h"

#include <QElapsedTimer>

namespace {

class HostileFilesTest : public WindowTest
{
protected:
    void place(const char* corpusFile, const char* as)
    {
        QFile::remove(dataFile(as));
        ASSERT_TRUE(QFile::copy(QStringLiteral(CORPUS_DIR "/") + corpusFile, dataFile(as)));
        QFile::setPermissions(dataFile(as), QFile::ReadOwner | QFile::WriteOwner);
    }

    std::unique_ptr<MainWindow> start() { return std::make_unique<MainWindow>(platform.services()); }

    static QStringList lines(MainWindow& window) { return listLines(window); }
};

TEST_F(HostileFilesTest, DamagedRecordFilesListTheirReadableEntries)
{
    const struct
    {
        const char* file;
        int lines;
        QMap<int, QString> readable;
    } cases[] = {
        {"records-odd-length.dta", 2, {{0, "alpha"}, {1, "beta"}}},
        {"records-invalid-gbk.dta", 4, {{1, "ok-2"}}},
        {"records-nul-inside.dta", 3, {{0, QString::fromLatin1("ab\0cd", 5)}, {1, ""}, {2, "ok-3"}}},
        {"records-bad-recno.dta", 3, {{0, "first"}, {1, "second"}, {2, "third"}}},
    };
    for (const auto& c : cases) {
        place(c.file, "Sitewarden2.dta");
        const QByteArray before = RecordFiles::read(dataFile("Sitewarden2.dta"));
        auto window = start();
        const QStringList shown = lines(*window);
        EXPECT_EQ(shown.size(), c.lines) << c.file;
        for (auto it = c.readable.begin(); it != c.readable.end(); ++it) {
            EXPECT_EQ(shown.value(it.key()), it.value()) << c.file << " line " << it.key();
        }
        // Every slot can be shown, and a save adds to the file without touching what it held.
        for (int row = 0; row < shown.size(); ++row) {
            Controls(*window).List1->setCurrentIndex(Controls(*window).List1->model()->index(row, 0));
        }
        Controls(*window).Text1->setText("added");
        Controls(*window).TxtUser->setText("u");
        Controls(*window).TxtPassword->setText("p");
        Controls(*window).CmdAdd->click();
        const QByteArray after = RecordFiles::read(dataFile("Sitewarden2.dta"));
        const int whole = before.size() / 307 * 307;
        EXPECT_EQ(after.left(whole), before.left(whole)) << c.file;
        EXPECT_EQ(RecordFiles::slot(after, whole / 307 + 1),
            RecordFiles::record(whole / 307 + 1, "added", "u", "p", "http://www."))
            << c.file;
        EXPECT_TRUE(platform.messageBox.shown.isEmpty()) << c.file;
    }
}

TEST_F(HostileFilesTest, AFileOfMoreThan32767RecordsListsWhatItCanAndRefusesToGrow)
{
    QByteArray records;
    records.reserve(32768 * 307);
    for (int slot = 1; slot <= 32768; ++slot) {
        records += RecordFiles::record(slot, "entry-" + QByteArray::number(slot), "u", "p");
    }
    RecordFiles::write(dataFile("Sitewarden2.dta"), records);

    auto window = start();
    const QStringList shown = lines(*window);
    ASSERT_EQ(shown.size(), 32767);
    EXPECT_EQ(shown.first(), "entry-1");
    EXPECT_EQ(shown.last(), "entry-32767");
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());

    Controls(*window).List1->setCurrentIndex(Controls(*window).List1->model()->index(32766, 0));
    EXPECT_EQ(Controls(*window).TxtUser->text(), "u");
    Controls(*window).Text1->setText("one more");
    Controls(*window).TxtUser->setText("u");
    Controls(*window).TxtPassword->setText("p");
    Controls(*window).CmdAdd->click();
    ASSERT_EQ(platform.messageBox.shown.size(), 2);
    EXPECT_EQ(platform.messageBox.shown[0].prompt, "文件更新错误!");
    EXPECT_EQ(platform.messageBox.shown[1].prompt, "无法保存文件!");
    EXPECT_EQ(RecordFiles::read(dataFile("Sitewarden2.dta")), records);
}

TEST_F(HostileFilesTest, DamagedTextFilesReadWithoutHarm)
{
    place("email-hostile.dta", "Email.dta");
    place("default-hostile.dta", "default.dta");
    auto window = start();
    const QStringList items = emailItems(*window);
    EXPECT_EQ(items.size(), 7);
    EXPECT_EQ(items.value(0), "ok1@x.org");
    EXPECT_TRUE(items.contains("ok2@x.org"));
    // A lone lead byte is a line of its own, shown as what it is rather than dropped.
    EXPECT_TRUE(items.contains(QString(QChar::ReplacementCharacter)));
    EXPECT_EQ(items.last(), "ok3@x.org");
    Controls(*window).CmdPaste[3]->click();
    EXPECT_FALSE(Controls(*window).TxtUser->text().contains("second"));
    EXPECT_TRUE(platform.messageBox.shown.isEmpty());
}

TEST_F(HostileFilesTest, HugeEmailFilesLoadInReasonableTime)
{
    const struct
    {
        const char* what;
        QByteArray file;
        int items;
    } cases[] = {
        {"a line of a megabyte", QByteArray(1 << 20, 'a') + "@x.org\r\nb@x.org\r\n", 2},
        {"100,000 lines", QByteArray("someone@example.org\r\n").repeated(100000), 100000},
    };
    for (const auto& c : cases) {
        RecordFiles::write(dataFile("Email.dta"), c.file);
        QElapsedTimer timer;
        timer.start();
        auto window = start();
        EXPECT_EQ(Controls(*window).Combo2->count(), c.items) << c.what;
        EXPECT_LT(timer.elapsed(), 20000) << c.what;
    }
}

// A stick pulled out and plugged back in while the window stays open: each command finds its
// folder again before it reads or writes, and nothing goes to the old place.
TEST_F(HostileFilesTest, CommandsFindAStickPluggedBackIn)
{
    const QString before = dir.path() + "/before", after = dir.path() + "/after";
    ASSERT_TRUE(QDir().mkpath(before) && QDir().mkpath(after));
    platform.dataFolder.folder = dir.path() + "/stick";
    ASSERT_TRUE(QFile::link(before, platform.dataFolder.folder));
    const std::function<void(MainWindow&)> commands[] = {
        [](MainWindow& window) {
            Controls(window).Text1->setText("site");
            Controls(window).TxtUser->setText("u");
            Controls(window).TxtPassword->setText("p");
            Controls(window).CmdAdd->click();
        },
        [](MainWindow& window) {
            Controls(window).Combo2->setEditText("a@x.org");
            Controls(window).Command3->click();
        },
        [](MainWindow& window) {
            QTimer::singleShot(0, [] {
                if (auto* dialog = qobject_cast<DefaultUserIdDialog*>(QApplication::activeModalWidget())) {
                    DialogControls(*dialog).Text1->setText("me");
                    DialogControls(*dialog).Command1->click();
                }
            });
            Controls(window).mnuSetDefaults->trigger();
        },
    };
    for (const auto& command : commands) {
        const auto window = start();
        window->show();
        platform.dataFolder.comesBackAs = after;
        command(*window);
        platform.dataFolder.comesBackAs.clear();
        ASSERT_TRUE(QFile::remove(platform.dataFolder.folder) && QFile::link(before, platform.dataFolder.folder));
    }
    // Only what each start made there: an empty record file.
    EXPECT_EQ(QDir(before).entryList(QDir::Files), QStringList({"Sitewarden2.dta"}));
    EXPECT_EQ(RecordFiles::read(before + "/Sitewarden2.dta"), QByteArray());
    EXPECT_EQ(RecordFiles::read(after + "/Sitewarden2.dta"), RecordFiles::record(1, "site", "u", "p", "http://www."));
    EXPECT_EQ(RecordFiles::read(after + "/Email.dta"), "a@x.org\r\n");
    EXPECT_EQ(RecordFiles::read(after + "/default.dta"), "me\r\n");
}

} // namespace
