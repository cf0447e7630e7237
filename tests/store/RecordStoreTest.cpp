#include "SiteNames.h"
#include "SiteRecord.h"
#include "Sitewarden.h"

#include "FakeBeeper.h"
#include "FakeMessageBox.h"
#include "FakeStoreView.h"
#include "FileSizeLimit.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using Box = StoreView::Box;
using RecordFiles::deleted;
using RecordFiles::record;

class RecordStore : public ::testing::Test
{
protected:
    RecordStore() { store.DataFilePath = path; }

    void type(const QString& name, const QString& user, const QString& password, const QString& url)
    {
        view.boxes[Box::Text1] = name;
        view.boxes[Box::TxtUser] = user;
        view.boxes[Box::TxtPassword] = password;
        view.boxes[Box::TxtURL] = url;
    }

    QStringList titles() const
    {
        QStringList all;
        for (const auto& box : messages.shown) {
            EXPECT_EQ(box.style, 16);
            all << box.prompt + QLatin1Char('|') + box.title;
        }
        return all;
    }

    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/Sitewarden2.dta");
    FakeStoreView view;
    FakeMessageBox messages;
    FakeBeeper beeper;
    Sitewarden store {view, messages, beeper};
};

QByteArray six()
{
    return record(1, "one", "u1", "p1", "http://one") + record(2, "two") + deleted(3) + record(4, "four") + deleted(5)
        + record(6, "six");
}

TEST_F(RecordStore, FirstStartCreatesAnEmptyOwnerOnlyFile)
{
    store.LoadSiteList();
    store.CurrentRecord = 1;
    store.ShowCurrentRecord();

    const QFileInfo info(path);
    ASSERT_TRUE(info.exists());
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther), 0);
    EXPECT_TRUE(view.siteLines.isEmpty());
    EXPECT_EQ(view.boxes.value(Box::TxtUser), QString());
    EXPECT_EQ(view.boxes.value(Box::TxtPassword), QString());
    EXPECT_EQ(view.boxes.value(Box::TxtURL), QString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RecordStore, CountsWholeRecordsAndAppendsOverTheRest)
{
    for (int extra : {0, 86}) {
        RecordFiles::write(path, record(1, "a") + record(2, "b") + QByteArray(extra, 'z'));
        store.LoadSiteList();
        EXPECT_EQ(store.CurrentRecord, 2) << extra;
        EXPECT_EQ(view.siteLines, QStringList({"a", "b"}));
    }
    type("  third  ", " u ", "p", "");
    store.SaveNewSite();

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 921);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "third", "u", "p", ""));
    EXPECT_EQ(view.siteLines, QStringList({"a", "b", "third"}));
    EXPECT_EQ(store.CurrentRecord, 1);
}

TEST_F(RecordStore, SaveReusesTheFirstDeletedSlot)
{
    RecordFiles::write(path, six());
    type("new", "nu", "np", "http://new");
    store.SaveNewSite();

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 6 * 307);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "new", "nu", "np", "http://new"));
    EXPECT_EQ(RecordFiles::slot(file, 5), deleted(5));
    EXPECT_EQ(view.siteLines, QStringList({"one", "two", "new", "four", "(Deleted)", "six"}));
    EXPECT_EQ(store.CurrentRecord, 1);
    EXPECT_EQ(view.boxes.value(Box::TxtUser), "u1");
    EXPECT_EQ(view.boxes.value(Box::TxtURL), "http://one");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(RecordStore, OnlyTheExactMarkerMarksAFreeSlot)
{
    const QByteArray kept
        = record(1, "(deleted)") + record(2, "(Deleted) old bank", "u2", "p2") + record(3, "(Deleted)x", "u3");
    RecordFiles::write(path, kept + record(4, "  (Deleted)") + record(5, "x"));
    type("new", "u", "p", "");
    store.SaveNewSite();
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.left(kept.size()), kept);
    EXPECT_EQ(RecordFiles::slot(file, 4), record(4, "new", "u", "p"));
}

TEST_F(RecordStore, DeleteWritesTheMarkerAndKeepsTheLength)
{
    RecordFiles::write(path, six());
    store.LoadSiteList();
    store.CurrentRecord = 6;
    store.DeleteCurrentRecord();

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 6 * 307);
    EXPECT_EQ(RecordFiles::slot(file, 6), deleted(6));
    QByteArray marker = QByteArray::fromHex("0600") + "(Deleted)" + QByteArray(26 + 270, ' ');
    EXPECT_EQ(RecordFiles::slot(file, 6), marker);
    EXPECT_EQ(view.siteLines.size(), 6);
    EXPECT_EQ(view.siteLines.last(), "(Deleted)");
    EXPECT_EQ(store.CurrentRecord, 1);
    EXPECT_EQ(view.boxes.value(Box::TxtPassword), "p1");
}

TEST_F(RecordStore, DeleteOfRecordZeroDoesNothing)
{
    store.DeleteCurrentRecord();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(view.listFills, 0);
}

TEST_F(RecordStore, UpdateKeepsTheStoredDescription)
{
    RecordFiles::write(path, six());
    store.LoadSiteList();
    const int fills = view.listFills;
    store.CurrentRecord = 3;
    type("typed", "uu", "pp", "http://x");
    store.EditMode = true;
    store.UpdateRecord();
    store.EditMode = false;

    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "(Deleted)", "uu", "pp", "http://x"));
    EXPECT_EQ(view.listFills, fills);
}

TEST_F(RecordStore, WritesFailWithTheirMessagesWhenTheFileCannotBeOpened)
{
    store.DataFilePath = dir.path() + QStringLiteral("/missing-folder/Sitewarden2.dta");
    store.CurrentRecord = 1;
    type("a", "b", "c", "");

    store.SaveNewSite();
    EXPECT_EQ(titles(), QStringList({"文件更新错误!|文件错误!", "无法保存文件!|保存出错!"}));
    EXPECT_TRUE(view.siteLines.isEmpty());

    messages.shown.clear();
    store.CurrentRecord = 1;
    store.EditMode = true;
    store.UpdateRecord();
    store.DeleteCurrentRecord();
    EXPECT_EQ(titles(), QStringList({"文件更新错误!|文件错误!", "文件删除出错!|文件错误!"}));
    EXPECT_EQ(store.MsgText, "文件删除出错!");
}

TEST_F(RecordStore, ADirectoryWhereTheFileShouldBeIsAFailure)
{
    ASSERT_TRUE(QDir().mkpath(path));
    store.LoadSiteList();
    EXPECT_TRUE(view.siteLines.isEmpty());
    type("a", "b", "c", "");
    store.SaveNewSite();
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(RecordStore, SaveAtThe16BitLimitFailsWithoutWriting)
{
    const qint64 full = qint64(Sitewarden::MaxRecords) * 307;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(full));
    }
    store.LoadSiteList();
    EXPECT_EQ(view.siteLines.size(), Sitewarden::MaxRecords);

    type("a", "b", "c", "");
    store.SaveNewSite();
    EXPECT_EQ(titles(), QStringList({"文件更新错误!|文件错误!", "无法保存文件!|保存出错!"}));
    EXPECT_EQ(QFileInfo(path).size(), full);
    EXPECT_EQ(view.siteLines.size(), Sitewarden::MaxRecords);

    // A free slot at the very end is still found.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(full - 307);
        file.write(deleted(Sitewarden::MaxRecords));
    }
    messages.shown.clear();
    type("a", "b", "c", "");
    store.SaveNewSite();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), Sitewarden::MaxRecords),
        record(Sitewarden::MaxRecords, "a", "b", "c"));
}

// No room at all, or room for 105 bytes of the entry (its number, description, user ID and most
// of its password): the file keeps exactly what it held.
TEST_F(RecordStore, AFullDiskKeepsEveryStoredRecordAndNoPieceOfTheEntry)
{
    for (const int room : {0, 105}) {
        RecordFiles::write(path, six().left(4 * 307));
        const QByteArray before = RecordFiles::read(path);
        messages.shown.clear();
        type("entry", "user", "a-long-password", "");
        {
            const FileSizeLimit fullDisk(before.size() + room);
            store.AppendRecord();
        }
        EXPECT_EQ(titles(), QStringList({"无法保存文件!|保存出错!"})) << room;
        EXPECT_EQ(RecordFiles::read(path), before) << room;
    }
}

TEST_F(RecordStore, ShowOfRecordZeroWritesTheBoxesFromTheBuffer)
{
    RecordFiles::write(path, six());
    store.LoadSiteList();
    store.CurrentRecord = 0;
    store.ShowCurrentRecord();
    EXPECT_EQ(view.boxes.value(Box::TxtUser), QString());
    EXPECT_EQ(store.Rec.SiteName.trimmed(), "six");
}

} // namespace

namespace {

// The list keeps each description without its padding; the field it gives back must be the stored
// 35 bytes exactly, since an erase or update compares them byte for byte.
TEST(SiteNamesTest, GivesBackEachFieldAsStoredAndItsLineAsShown)
{
    const auto padded = [](const QByteArray& text, char pad) { return text + QByteArray(35 - text.size(), pad); };
    const struct
    {
        QByteArray field;
        QString line;
    } cases[] = {
        {padded("Bank", ' '), "Bank"},
        {padded("  Bank", ' '), "Bank"},
        {padded("", ' '), ""},
        {padded("Bank", '\0'), "Bank"},
        {padded("Bank", '\0').left(30) + "     ",
            QString::fromLatin1("Bank\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 30)},
        {QByteArray(35, 'x'), QString(35, 'x')},
        {padded("\xd5\xbe\xb5\xe3", ' '), QString::fromUtf8("站点")},
    };
    // Enough rounds for lines in several blocks, and more lines than reserved room.
    const int rounds = 40;
    const int size = int(std::size(cases));
    SiteNames names;
    names.reserve(2);
    for (int i = 0; i < rounds * size; ++i) {
        names.append(cases[i % size].field.constData());
    }
    ASSERT_EQ(names.count(), rounds * size);
    for (int i = 0; i < names.count(); ++i) {
        EXPECT_EQ(names.field(i), cases[i % size].field) << i;
        EXPECT_EQ(names.line(i), cases[i % size].line) << i;
    }
    EXPECT_EQ(names.field(names.count()), QByteArray());
}

} // namespace

namespace {

// What LoadSiteList leaves behind: the list, and the module's variables.
QString loaded(const Sitewarden& store, const FakeStoreView& view)
{
    return view.names.lines().join('|')
        + QStringLiteral(" current %1 loop %2 file %3 rec %4/%5")
              .arg(store.CurrentRecord)
              .arg(store.LoopIndex)
              .arg(store.FileNum)
              .arg(store.Rec.RecNo)
              .arg(store.Rec.SiteName);
}

// The list read on a thread while the window is built is the list LoadSiteList reads itself.
TEST(SiteListPrefetchTest, LoadSiteListShowsWhatItWouldHaveRead)
{
    const struct
    {
        const char* what;
        QByteArray file; // empty: no file
        bool otherPath;
    } cases[] = {
        {"no file", {}, false},
        {"six slots", six(), false},
        {"a torn last record", six() + QByteArray(100, 'x'), false},
        {"prefetched elsewhere", six(), true},
    };
    for (const auto& c : cases) {
        QString results[2];
        for (const bool prefetch : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.path() + QStringLiteral("/Sitewarden2.dta");
            if (!c.file.isEmpty()) {
                RecordFiles::write(path, c.file);
            }
            FakeStoreView view;
            FakeMessageBox messages;
            FakeBeeper beeper;
            Sitewarden store {view, messages, beeper};
            if (prefetch) {
                store.prefetchSiteList(c.otherPath ? dir.path() + QStringLiteral("/other.dta") : path);
            }
            store.DataFilePath = path;
            store.LoadSiteList();
            results[prefetch] = loaded(store, view);
        }
        EXPECT_EQ(results[1], results[0]) << c.what;
        EXPECT_EQ(results[0].startsWith(QStringLiteral("one|two|(Deleted)|four")), !c.file.isEmpty()) << c.what;
    }
}

} // namespace
