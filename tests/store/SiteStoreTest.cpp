#include "SiteStore.h"
#include "SiteNames.h"
#include "SiteRecord.h"

#include "FakeDataFolder.h"
#include "FileSizeLimit.h"
#include "QtPrinters.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

using RecordFiles::deleted;
using RecordFiles::record;
using Outcome = SiteStore::Result::Outcome;
using Step = FileFailure::Step;

class SiteStoreTest : public ::testing::Test
{
protected:
    SiteStoreTest() { folder.folder = dir.path(); }

    // The slot as the window shows it after a click on its line.
    ShownSlot shown(int slot)
    {
        const SiteList list = store.list();
        return store.show(ShownSlot::ofLine(slot - 1, list.lines.field(slot - 1))).shown;
    }

    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/Sitewarden2.dta");
    FakeDataFolder folder;
    SiteStore store {folder};
};

QByteArray six()
{
    return record(1, "one", "u1", "p1", "http://one") + record(2, "two") + deleted(3) + record(4, "four") + deleted(5)
        + record(6, "six");
}

// Listing, showing and following only read: a watch of the folder, as the window keeps, hears no
// write closed, and so the program does not wake itself.
TEST_F(SiteStoreTest, ReadsWakeNoWatchOfTheFolder)
{
    RecordFiles::write(path, six());
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_CLOSE_WRITE | IN_MODIFY), 0);
    store.prefetch();
    store.list();
    const ShownSlot two = store.show(ShownSlot::ofLine(1, record(2, "two").mid(2, 35))).shown;
    store.follow(two);
    char event[4096];
    EXPECT_LT(::read(watch, event, sizeof event), 0);
    ::close(watch);
}

TEST_F(SiteStoreTest, FirstStartCreatesAnEmptyOwnerOnlyFile)
{
    const SiteList list = store.list();
    const QFileInfo info(path);
    ASSERT_TRUE(info.exists());
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther), 0);
    EXPECT_EQ(list.lines.count(), 0);
    EXPECT_TRUE(list.first.read);
    EXPECT_EQ(list.first.entry().userId, QString());
}

TEST_F(SiteStoreTest, CountsWholeRecordsAndAppendsOverTheRest)
{
    for (int extra : {0, 86}) {
        RecordFiles::write(path, record(1, "a") + record(2, "b") + QByteArray(extra, 'z'));
        EXPECT_EQ(store.list().lines.lines(), QStringList({"a", "b"})) << extra;
    }
    const SiteStore::Result saved = store.saveNew({"  third  ", " u ", "p", ""});
    EXPECT_EQ(saved.outcome, Outcome::Done);
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 921);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "third", "u", "p", ""));
    EXPECT_EQ(saved.fresh->lines.lines(), QStringList({"a", "b", "third"}));
}

TEST_F(SiteStoreTest, SaveReusesTheFirstDeletedSlotAndShowsSlotOne)
{
    RecordFiles::write(path, six());
    const SiteStore::Result saved = store.saveNew({"new", "nu", "np", "http://new"});
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 6 * 307);
    EXPECT_EQ(RecordFiles::slot(file, 3), record(3, "new", "nu", "np", "http://new"));
    EXPECT_EQ(RecordFiles::slot(file, 5), deleted(5));
    EXPECT_EQ(saved.fresh->lines.lines(), QStringList({"one", "two", "new", "four", "(Deleted)", "six"}));
    EXPECT_EQ(saved.fresh->first.entry().userId, "u1");
    EXPECT_EQ(saved.fresh->first.entry().url, "http://one");
}

TEST_F(SiteStoreTest, OnlyTheExactMarkerMarksAFreeSlot)
{
    const QByteArray kept
        = record(1, "(deleted)") + record(2, "(Deleted) old bank", "u2", "p2") + record(3, "(Deleted)x", "u3");
    RecordFiles::write(path, kept + record(4, "  (Deleted)") + record(5, "x"));
    store.saveNew({"new", "u", "p", ""});
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.left(kept.size()), kept);
    EXPECT_EQ(RecordFiles::slot(file, 4), record(4, "new", "u", "p"));
}

// What a save, an update and an erase refuse before opening anything, by the field at fault.
TEST_F(SiteStoreTest, RefusesWhatTheRecordCannotHoldAsTyped)
{
    RecordFiles::write(path, six());
    const QString chinese36 = QString(18, QChar(0x4E2D));
    const struct
    {
        SiteEntry entry;
        SiteEntry::Field asNew, asUpdate;
    } cases[] = {
        {{"  ", "u", "p", ""}, SiteEntry::Field::Description, SiteEntry::Field::None},
        {{"(Deleted)", "u", "p", ""}, SiteEntry::Field::Description, SiteEntry::Field::None},
        {{QStringLiteral("Bank 한"), "u", "p", ""}, SiteEntry::Field::Description, SiteEntry::Field::None},
        {{QString(40, 'd'), "u", "p", ""}, SiteEntry::Field::None, SiteEntry::Field::None},
        {{"d", " ", "p", ""}, SiteEntry::Field::UserId, SiteEntry::Field::None},
        {{"d", chinese36, "p", ""}, SiteEntry::Field::UserId, SiteEntry::Field::UserId},
        {{"d", "u", "", ""}, SiteEntry::Field::Password, SiteEntry::Field::None},
        {{"d", "u", QString(36, 'p'), ""}, SiteEntry::Field::Password, SiteEntry::Field::Password},
        {{"d", "u", "p", QString(201, 'w')}, SiteEntry::Field::Url, SiteEntry::Field::Url},
    };
    for (const auto& c : cases) {
        const std::string what = (c.entry.description + "|" + c.entry.userId).toStdString();
        const SiteStore::Result saved = store.saveNew(c.entry);
        EXPECT_EQ(saved.refused, c.asNew) << what;
        EXPECT_EQ(saved.outcome == Outcome::Refused, c.asNew != SiteEntry::Field::None) << what;
        const SiteStore::Result updated = store.update(shown(1), c.entry);
        EXPECT_EQ(updated.refused, c.asUpdate) << what;
        EXPECT_EQ(updated.outcome == Outcome::Refused, c.asUpdate != SiteEntry::Field::None) << what;
        RecordFiles::write(path, six());
    }
}

TEST_F(SiteStoreTest, EraseWritesTheMarkerAndKeepsTheLength)
{
    RecordFiles::write(path, six());
    const SiteStore::Result erased = store.erase(shown(6));
    EXPECT_EQ(erased.outcome, Outcome::Done);
    const QByteArray file = RecordFiles::read(path);
    EXPECT_EQ(file.size(), 6 * 307);
    EXPECT_EQ(RecordFiles::slot(file, 6), QByteArray::fromHex("0600") + "(Deleted)" + QByteArray(26 + 270, ' '));
    EXPECT_EQ(erased.fresh->lines.count(), 6);
    EXPECT_EQ(erased.fresh->lines.line(5), "(Deleted)");
    EXPECT_EQ(erased.fresh->first.entry().password, "p1");
}

TEST_F(SiteStoreTest, UpdateKeepsTheStoredDescriptionAndAPastEndSlotIsRefused)
{
    RecordFiles::write(path, six());
    const SiteStore::Result updated = store.update(shown(3), {"typed", "uu", "pp", "http://x"});
    EXPECT_EQ(updated.outcome, Outcome::Done);
    EXPECT_FALSE(updated.fresh.has_value());
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), 3), record(3, "(Deleted)", "uu", "pp", "http://x"));
    EXPECT_EQ(updated.shown.record, record(3, "(Deleted)", "uu", "pp", "http://x"));

    RecordFiles::write(path, {});
    const SiteStore::Result nothing = store.update(shown(1), {"", "u", "p", ""});
    EXPECT_EQ(nothing.outcome, Outcome::Refused);
    EXPECT_EQ(nothing.refused, SiteEntry::Field::None);
    EXPECT_EQ(RecordFiles::read(path), QByteArray());
}

// A file that cannot be opened, a directory in its place, a read-only file: each command fails at
// its step, writes nothing, and still lists what can be read.
TEST_F(SiteStoreTest, CommandsFailAtTheirStepAndWriteNothing)
{
    const ShownSlot one {1, RecordFiles::field("one", 35), false, {}};
    const auto failedAt = [](const SiteStore::Result& result) {
        return result.outcome == Outcome::Failed ? result.failure.step : Step::None;
    };
    folder.folder = dir.path() + "/missing-folder";
    EXPECT_EQ(failedAt(store.saveNew({"a", "b", "c", ""})), Step::Open);
    EXPECT_EQ(failedAt(store.update(one, {"a", "b", "c", ""})), Step::Open);
    EXPECT_EQ(failedAt(store.erase(one)), Step::Open);
    EXPECT_EQ(store.saveNew({"a", "b", "c", ""}).failure.error, ENOENT);

    folder.folder = dir.path();
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_EQ(store.list().lines.count(), 0);
    EXPECT_EQ(failedAt(store.saveNew({"a", "b", "c", ""})), Step::Open);
    ASSERT_TRUE(QDir().rmdir(path));

    if (::geteuid() != 0) {
        RecordFiles::write(path, six());
        ::chmod(QFile::encodeName(path).constData(), 0444);
        const SiteStore::Result saved = store.saveNew({"a", "b", "c", ""});
        EXPECT_EQ(failedAt(saved), Step::Open);
        EXPECT_EQ(saved.failure.error, EACCES);
        EXPECT_EQ(saved.fresh->lines.count(), 6);
        EXPECT_EQ(failedAt(store.update(shown(1), {"", "b", "c", ""})), Step::Open);
        EXPECT_EQ(failedAt(store.erase(shown(1))), Step::Open);
        EXPECT_EQ(RecordFiles::read(path), six());
    }
}

TEST_F(SiteStoreTest, SaveAtThe16BitLimitFailsWithoutWriting)
{
    const qint64 full = qint64(SiteRecord::MaxRecords) * 307;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(full));
    }
    EXPECT_EQ(store.list().lines.count(), SiteRecord::MaxRecords);
    const SiteStore::Result refused = store.saveNew({"a", "b", "c", ""});
    EXPECT_EQ(refused.failure.step, Step::Full);
    EXPECT_EQ(QFileInfo(path).size(), full);
    EXPECT_EQ(refused.fresh->lines.count(), SiteRecord::MaxRecords);

    // A free slot at the very end is still found.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(full - 307);
        file.write(deleted(SiteRecord::MaxRecords));
    }
    EXPECT_EQ(store.saveNew({"a", "b", "c", ""}).outcome, Outcome::Done);
    EXPECT_EQ(RecordFiles::slot(RecordFiles::read(path), SiteRecord::MaxRecords),
        record(SiteRecord::MaxRecords, "a", "b", "c"));
    // One more record than the count holds: listed, never saved into.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(deleted(1));
    }
    EXPECT_EQ(store.list().lines.count(), SiteRecord::MaxRecords);
    EXPECT_EQ(store.saveNew({"a", "b", "c", ""}).failure.step, Step::Count);
}

// No room at all, or room for 105 bytes of the entry (its number, description, user ID and most
// of its password): the file keeps exactly what it held.
TEST_F(SiteStoreTest, AFullDiskKeepsEveryStoredRecordAndNoPieceOfTheEntry)
{
    for (const int room : {0, 105}) {
        RecordFiles::write(path, record(1, "one") + record(2, "two") + record(3, "three") + record(4, "four"));
        const QByteArray before = RecordFiles::read(path);
        SiteStore::Result saved;
        {
            const FileSizeLimit fullDisk(before.size() + room);
            saved = store.saveNew({"entry", "user", "a-long-password", ""});
        }
        EXPECT_EQ(saved.failure.step, Step::Write) << room;
        EXPECT_TRUE(saved.appending) << room;
        EXPECT_EQ(RecordFiles::read(path), before) << room;
    }
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
        {QByteArray(26, 'x') + QByteArray(8, ' ') + 'z', QString(26, 'x') + QString(8, ' ') + 'z'},
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

// The list read on a thread while the window is built is the list the store reads itself.
TEST(SiteListPrefetchTest, TheListIsWhatItWouldHaveRead)
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
            FakeDataFolder folder;
            folder.folder = c.otherPath && prefetch ? dir.path() + "/other" : dir.path();
            QDir().mkpath(folder.folder);
            if (!c.file.isEmpty()) {
                RecordFiles::write(dir.path() + "/Sitewarden2.dta", c.file);
            }
            SiteStore store(folder);
            if (prefetch) {
                store.prefetch();
            }
            folder.folder = dir.path();
            const SiteList list = store.list();
            results[prefetch] = list.lines.lines().join('|') + " first " + QString::number(list.first.number) + " "
                + QString::fromLatin1(list.first.record.mid(2, 35));
        }
        EXPECT_EQ(results[1], results[0]) << c.what;
        EXPECT_EQ(results[0].startsWith(QStringLiteral("one|two|(Deleted)|four")), !c.file.isEmpty()) << c.what;
    }
}

} // namespace

namespace {

// What the journal gets: the step, the folder by the name the user knows, and the system's reason.
TEST(FileFailureTest, NamesTheStepTheRealFolderAndTheCause)
{
    QTemporaryDir dir;
    const int held = ::open(QFile::encodeName(dir.path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QString through = QStringLiteral("/proc/self/fd/%1/Email.dta").arg(held);
    const struct
    {
        FileFailure failure;
        QString said;
    } cases[] = {
        {FileFailure::at(FileFailure::Step::Write, ENOSPC, through),
            "write " + dir.path() + "/Email.dta: " + QString::fromLocal8Bit(std::strerror(ENOSPC))},
        {FileFailure::at(FileFailure::Step::Open, EACCES, "/data/Sitewarden2.dta"),
            "open /data/Sitewarden2.dta: " + QString::fromLocal8Bit(std::strerror(EACCES))},
        {FileFailure::at(FileFailure::Step::Full, 0, "/data/Sitewarden2.dta"), "find room in /data/Sitewarden2.dta"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.failure.describe(), c.said);
    }
    ::close(held);
}

} // namespace
