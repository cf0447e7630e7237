#include "ConflictCopies.h"
#include "EmailList.h"
#include "SiteStore.h"

#include "FakeDataFolder.h"
#include "QtPrinters.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using RecordFiles::deleted;
using RecordFiles::record;

// A folder a sync tool keeps: the data files and the copies it leaves when both machines saved.
class ConflictCopiesTest : public ::testing::Test
{
protected:
    ConflictCopiesTest() { folder.folder = dir.path(); }

    QString file(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    ConflictCopies::Merged merge() { return ConflictCopies::mergeAll(folder, sites, emails); }

    QTemporaryDir dir;
    FakeDataFolder folder;
    SiteStore sites {folder};
    EmailList emails {folder};
};

TEST_F(ConflictCopiesTest, KnowsEachSyncToolsCopiesAndNothingElse)
{
    const QStringList copies = {"Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta",
        "Sitewarden2 (conflicted copy 2026-12-08 101500).dta",
        QStringLiteral("Sitewarden2 (张伟's conflicted copy 2026-12-08).dta"),
        "Sitewarden2 (zhang conflicted copy 2026-12-08 (1)).dta"};
    const QStringList others = {"Sitewarden2.dta", "Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta.merged",
        "Email.sync-conflict-20261208-101500-ABCDEFG.dta", "Sitewarden2 copy.dta", "Sitewarden2.dta.bak",
        "Sitewarden23.sync-conflict-x.dta", "xSitewarden2 (conflicted copy 1).dta"};
    for (const QString& name : copies + others) {
        RecordFiles::write(file(name), {});
    }
    QList<QByteArray> expected;
    for (const QString& name : copies) {
        expected.append(name.toUtf8());
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ConflictCopies::of(dir.path(), "Sitewarden2.dta"), expected);
    EXPECT_EQ(ConflictCopies::of(dir.path(), "Email.dta"),
        QList<QByteArray>({"Email.sync-conflict-20261208-101500-ABCDEFG.dta"}));
}

// Both machines saved: the copy holds the other side's file. Only what the data file lacks comes
// back, as a save would add it; nothing stored changes; the copy is set aside, never deleted.
TEST_F(ConflictCopiesTest, AddsOnlyWhatTheFileLacksAndSetsTheCopyAside)
{
    const QByteArray main = record(1, "bank", "u", "p", "http://bank") + deleted(2) + record(3, "mail", "m", "q");
    const QByteArray copy = record(1, "bank", "u", "p", "http://bank") + record(2, "shop", "s", "t")
        + record(3, "mail", "m", "changed") + deleted(4) + record(5, "mail", "m", "q") + QByteArray(100, 'x');
    RecordFiles::write(file("Sitewarden2.dta"), main);
    RecordFiles::write(file("Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta"), copy);
    RecordFiles::write(file("Email.dta"), "a@x.org\r\n  b@x.org\r\n");
    RecordFiles::write(file("Email (conflicted copy 2026-12-08 101500).dta"), "b@x.org\r\nc@x.org\r\n\r\na@x.org\r\n");
    RecordFiles::write(file("default (conflicted copy 2026-12-08 101500).dta"), "other\r\n");

    const ConflictCopies::Merged merged = merge();
    EXPECT_EQ(merged.descriptions, QStringList({"shop", "mail"}));
    EXPECT_EQ(merged.addresses, QStringList({"c@x.org"}));
    EXPECT_TRUE(merged.failures.isEmpty());
    // The free slot takes the first, the end the second: the changed entry comes back beside the old.
    EXPECT_EQ(RecordFiles::read(file("Sitewarden2.dta")),
        record(1, "bank", "u", "p", "http://bank") + record(2, "shop", "s", "t") + record(3, "mail", "m", "q")
            + record(4, "mail", "m", "changed"));
    EXPECT_EQ(RecordFiles::read(file("Email.dta")), "a@x.org\r\nb@x.org\r\nc@x.org\r\n");
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files,
        QStringList({"Email (conflicted copy 2026-12-08 101500).dta.merged", "Email.dta", "Sitewarden2.dta",
            "Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta.merged",
            "default (conflicted copy 2026-12-08 101500).dta"}));
    EXPECT_EQ(RecordFiles::read(file("Sitewarden2.sync-conflict-20261208-101500-ABCDEFG.dta.merged")), copy);

    // Merged once: a second look finds nothing to do.
    const ConflictCopies::Merged again = merge();
    EXPECT_TRUE(again.descriptions.isEmpty() && again.addresses.isEmpty());
}

// Two machines that merge the same copy into the same file write the same bytes, so that the sync
// tool finds them alike rather than in conflict again.
TEST_F(ConflictCopiesTest, TheSameFilesMergeToTheSameBytesOnEveryMachine)
{
    const QByteArray main = record(1, "a") + deleted(2) + record(3, "b");
    const QList<QPair<QString, QByteArray>> copies = {
        {"Sitewarden2.sync-conflict-20261208-101500-BBBBBBB.dta", record(1, "x") + record(2, "y")},
        {"Sitewarden2.sync-conflict-20261208-101500-AAAAAAA.dta", record(1, "z") + record(2, "x")},
    };
    QByteArray results[2];
    for (QByteArray& result : results) {
        QTemporaryDir machine;
        FakeDataFolder there;
        there.folder = machine.path();
        SiteStore store(there);
        EmailList list(there);
        RecordFiles::write(machine.path() + "/Sitewarden2.dta", main);
        for (const auto& [name, bytes] : copies) {
            RecordFiles::write(machine.path() + "/" + name, bytes);
        }
        ConflictCopies::mergeAll(there, store, list);
        result = RecordFiles::read(machine.path() + "/Sitewarden2.dta");
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], record(1, "a") + record(2, "z") + record(3, "b") + record(4, "x") + record(5, "y"));
}

// A data file that cannot be written keeps its copy for a later look.
TEST_F(ConflictCopiesTest, ACopyThatCannotBeMergedStays)
{
    RecordFiles::write(file("Sitewarden2.sync-conflict-1.dta"), record(1, "x"));
    QDir().mkpath(file("Sitewarden2.dta"));
    const ConflictCopies::Merged merged = merge();
    EXPECT_EQ(merged.failures.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(file("Sitewarden2.sync-conflict-1.dta")));
}

} // namespace
