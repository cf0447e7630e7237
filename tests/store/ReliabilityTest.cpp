#include "SiteRecord.h"
#include "SiteStore.h"
#include "TextFile.h"

#include "FakeDataFolder.h"
#include "FileSizeLimit.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs the store driver; as root it runs as nobody, so that folder and file permissions bind.
QProcess* startDriver(const QStringList& args, QObject* parent)
{
    auto* process = new QProcess(parent);
    if (::geteuid() == 0) {
        process->start(
            "setpriv", QStringList {"--reuid=65534", "--regid=65534", "--clear-groups", STORE_DRIVER} + args);
    } else {
        process->start(STORE_DRIVER, args);
    }
    return process;
}

// What the driver printed on the lines that start with `prefix`, without it.
QStringList messagesOf(QProcess* process, const QByteArray& prefix = "FAILED ")
{
    EXPECT_TRUE(process->waitForFinished(120000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << process->readAllStandardError().toStdString();
    EXPECT_EQ(process->exitCode(), 0);
    QStringList messages;
    for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
        if (line.startsWith(prefix)) {
            messages << QString::fromUtf8(line.mid(prefix.size()));
        }
    }
    return messages;
}

QStringList runDriver(const QStringList& args, const QByteArray& prefix = "FAILED ")
{
    QObject owner;
    return messagesOf(startDriver(args, &owner), prefix);
}

class Reliability : public ::testing::Test
{
protected:
    Reliability()
    {
        // The driver may run as another user: let it into the folder.
        ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    }

    QString file(const char* name) const { return dir.path() + "/" + name; }

    QTemporaryDir dir;
};

TEST_F(Reliability, TwoCopiesSavingAtOnceLoseNothing)
{
    QByteArray freeSlots;
    for (int slot = 1; slot <= 100; ++slot) {
        freeSlots += RecordFiles::deleted(slot);
    }
    RecordFiles::write(file("Sitewarden2.dta"), freeSlots);
    ::chmod(QFile::encodeName(file("Sitewarden2.dta")).constData(), 0666);

    QObject owner;
    QProcess* first = startDriver({"save", dir.path(), "500", "A"}, &owner);
    QProcess* second = startDriver({"save", dir.path(), "500", "B"}, &owner);
    EXPECT_EQ(messagesOf(first), QStringList());
    EXPECT_EQ(messagesOf(second), QStringList());

    const QByteArray bytes = RecordFiles::read(file("Sitewarden2.dta"));
    ASSERT_EQ(bytes.size(), 1000 * 307);
    QMap<QString, int> seen;
    for (int slot = 1; slot <= 1000; ++slot) {
        EXPECT_EQ(RecordFiles::slot(bytes, slot).left(2), RecordFiles::record(slot, "").left(2));
        ++seen[SiteRecord::entry(bytes.constData() + (slot - 1) * 307).description];
    }
    ASSERT_EQ(seen.size(), 1000);
    for (const char* label : {"A", "B"}) {
        for (int i = 1; i <= 500; ++i) {
            EXPECT_EQ(seen.value(QString("%1-%2").arg(label).arg(i)), 1) << label << i;
        }
    }
}

TEST_F(Reliability, AFolderThatCannotBeWrittenGetsEachRoutinesAnswer)
{
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const struct
    {
        QStringList args;
        QStringList messages;
    } cases[] = {
        {{"save", dir.path(), "1", "x"}, {"save open"}},
        {{"update", dir.path()}, {"update open"}},
        {{"delete", dir.path()}, {"delete open"}},
        {{"email", dir.path(), "a@x.org"}, {"email write"}},
        {{"default", dir.path(), "me"}, {"default write"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runDriver(c.args), c.messages) << c.args.join(' ').toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
}

TEST_F(Reliability, FilesThatCannotBeWrittenStayAsTheyWere)
{
    const QByteArray records = RecordFiles::record(1, "kept", "u", "p") + RecordFiles::deleted(2);
    const QByteArray emails = "a@x.org\r\n";
    const QByteArray id = "me\r\n";
    RecordFiles::write(file("Sitewarden2.dta"), records);
    RecordFiles::write(file("Email.dta"), emails);
    RecordFiles::write(file("default.dta"), id);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    for (const char* name : {"Sitewarden2.dta", "Email.dta", "default.dta"}) {
        ::chmod(QFile::encodeName(file(name)).constData(), 0444);
    }
    // Still listed and shown, though never written.
    EXPECT_EQ(runDriver({"list", dir.path()}, "LINE "), QStringList({"kept", "(Deleted)"}));
    EXPECT_EQ(runDriver({"list", dir.path()}, "USER "), QStringList({"u"}));
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}), QStringList({"save open"}));
    EXPECT_EQ(runDriver({"update", dir.path()}), QStringList({"update open"}));
    EXPECT_EQ(runDriver({"delete", dir.path()}), QStringList({"delete open"}));
    EXPECT_EQ(runDriver({"email", dir.path(), "b@x.org"}), QStringList({"email open"}));
    EXPECT_EQ(runDriver({"default", dir.path(), "other"}), QStringList({"default open"}));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);

    EXPECT_EQ(RecordFiles::read(file("Sitewarden2.dta")), records);
    EXPECT_EQ(RecordFiles::read(file("Email.dta")), emails);
    EXPECT_EQ(RecordFiles::read(file("default.dta")), id);
}

// In the user's own folder, a text file made read-only, or another user's: a save refuses rather
// than put a file of the user's own, open to writing, in its place.
TEST_F(Reliability, ATextFileTheUserMayNotWriteIsNotReplaced)
{
    // The driver runs as nobody when the test runs as root.
    const bool root = ::geteuid() == 0;
    const QByteArray emails = "a@x.org\r\n", id = "me\r\n";
    RecordFiles::write(file("Email.dta"), emails);
    RecordFiles::write(file("default.dta"), id);
    for (const bool foreign : {false, true}) {
        if (foreign && !root) {
            continue;
        }
        const uid_t owner = foreign ? 0 : root ? 65534 : ::geteuid();
        const mode_t mode = foreign ? 0644 : 0444;
        for (const char* name : {"Email.dta", "default.dta"}) {
            ::chown(QFile::encodeName(file(name)).constData(), owner, gid_t(-1));
            ::chmod(QFile::encodeName(file(name)).constData(), mode);
        }
        EXPECT_EQ(runDriver({"email", dir.path(), "b@x.org"}), QStringList({"email open"}));
        EXPECT_EQ(runDriver({"default", dir.path(), "other"}), QStringList({"default open"}));
        for (const char* name : {"Email.dta", "default.dta"}) {
            struct stat info = {};
            ASSERT_EQ(::stat(QFile::encodeName(file(name)).constData(), &info), 0);
            EXPECT_EQ(info.st_uid, owner) << name;
            EXPECT_EQ(info.st_mode & 07777, mode) << name;
        }
        EXPECT_EQ(RecordFiles::read(file("Email.dta")), emails);
        EXPECT_EQ(RecordFiles::read(file("default.dta")), id);
    }
}

// A replaced text file keeps its owner and group where the writer may set them (here, as root).
TEST_F(Reliability, AReplacedTextFileKeepsItsOwnerAndGroup)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    const QByteArray path = QFile::encodeName(file("Email.dta"));
    RecordFiles::write(file("Email.dta"), "a@x.org\r\n");
    ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
    ::chmod(path.constData(), 0640);
    ASSERT_FALSE(TextFile::write(file("Email.dta"), "b@x.org\r\n").failed());
    struct stat info = {};
    ASSERT_EQ(::stat(path.constData(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(RecordFiles::read(file("Email.dta")), "b@x.org\r\n");
}

// A read-only share: no new file may be made beside the data files, but they may be written.
TEST_F(Reliability, AFolderThatRefusesNewFilesStillSavesIntoItsFiles)
{
    RecordFiles::write(file("Sitewarden2.dta"), RecordFiles::deleted(1));
    RecordFiles::write(file("Email.dta"), "a@x.org\r\n");
    RecordFiles::write(file("default.dta"), "a-much-longer-id\r\n");
    for (const char* name : {"Sitewarden2.dta", "Email.dta", "default.dta"}) {
        ::chmod(QFile::encodeName(file(name)).constData(), 0666);
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}), QStringList());
    EXPECT_EQ(runDriver({"email", dir.path(), "b@x.org"}), QStringList());
    EXPECT_EQ(runDriver({"default", dir.path(), "other"}), QStringList());
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);

    EXPECT_EQ(RecordFiles::read(file("Sitewarden2.dta")),
        RecordFiles::record(1, "x-1", "user", "password", "http://www.example.org"));
    EXPECT_EQ(RecordFiles::read(file("Email.dta")), "a@x.org\r\nb@x.org\r\n");
    EXPECT_EQ(RecordFiles::read(file("default.dta")), "other\r\n");
}

// A save into a file it may not write stops there, before looking for a free slot: the window then
// tells of both the update and the append, as the program always has; once writable, it appends.
TEST_F(Reliability, ASaveIntoAReadOnlyFileLooksForNoSlot)
{
    RecordFiles::write(file("Sitewarden2.dta"), RecordFiles::record(1, "kept", "u", "p"));
    ::chmod(QFile::encodeName(file("Sitewarden2.dta")).constData(), 0444);
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}, "APPENDING "), QStringList());
    ::chmod(QFile::encodeName(file("Sitewarden2.dta")).constData(), 0666);
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}, "APPENDING "), QStringList({"save"}));
}

TEST_F(Reliability, ADirectoryOrAPipeWhereTheRecordFileShouldBe)
{
    ASSERT_TRUE(QDir().mkpath(file("Sitewarden2.dta")));
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}), QStringList({"save open"}));
    ASSERT_TRUE(QDir().rmdir(file("Sitewarden2.dta")));

    ASSERT_EQ(::mkfifo(QFile::encodeName(file("Sitewarden2.dta")).constData(), 0666), 0);
    ::chmod(QFile::encodeName(file("Sitewarden2.dta")).constData(), 0666);
    EXPECT_EQ(runDriver({"save", dir.path(), "1", "x"}), QStringList({"save count"}));
    EXPECT_EQ(runDriver({"update", dir.path()}), QStringList({"update read"}));
}

TEST_F(Reliability, ADirectoryWhereATextFileShouldBe)
{
    ASSERT_TRUE(QDir().mkpath(file("Email.dta")));
    ASSERT_TRUE(QDir().mkpath(file("default.dta")));
    EXPECT_EQ(runDriver({"email", dir.path(), "a@x.org"}), QStringList({"email read"}));
    EXPECT_EQ(runDriver({"default", dir.path(), "me"}), QStringList({"default open"}));
    EXPECT_TRUE(QFileInfo(file("Email.dta")).isDir());
    EXPECT_TRUE(QFileInfo(file("default.dta")).isDir());
}

// Mode 0200: the driver, as the file's owner or as another user, can write the folder but cannot
// read the list, so neither a save nor an erase knows what it would replace.
TEST_F(Reliability, AnEmailFileThatCannotBeReadIsNeverReplaced)
{
    const QByteArray emails = "a@x.org\r\nb@x.org\r\n";
    RecordFiles::write(file("Email.dta"), emails);
    ::chmod(QFile::encodeName(file("Email.dta")).constData(), 0200);
    EXPECT_EQ(runDriver({"email", dir.path(), "c@x.org"}), QStringList({"email read"}));
    EXPECT_EQ(runDriver({"unemail", dir.path()}), QStringList({"unemail read"}));
    ::chmod(QFile::encodeName(file("Email.dta")).constData(), 0600);
    EXPECT_EQ(RecordFiles::read(file("Email.dta")), emails);
}

// A text file with a second name in a synced folder, or reached through a relative link from the
// program folder (which the program reaches as /proc/self/fd/N): the save reaches the file itself.
TEST_F(Reliability, LinkedTextFilesAreSavedThroughTheirLinks)
{
    const struct
    {
        const char* name;
        bool hard;
        QStringList args;
        QByteArray before, after;
    } cases[] = {
        {"Email.dta", true, {"email", "b@x.org"}, "a@x.org\r\n", "a@x.org\r\nb@x.org\r\n"},
        {"Email.dta", false, {"email", "b@x.org"}, "a@x.org\r\n", "a@x.org\r\nb@x.org\r\n"},
        {"default.dta", true, {"default", "new"}, "old\r\n", "new\r\n"},
        {"default.dta", false, {"default", "new"}, "old\r\n", "new\r\n"},
        {"Email.dta", true, {"unemail"}, "aa@x.org\r\nb@x.org\r\n", "b@x.org\r\n\r\n"},
        {"default.dta", true, {"default", "me"}, "old-and-longer\r\n", "me\r\n"},
    };
    for (const auto& c : cases) {
        const QString what = QString("%1 %2").arg(c.name, c.hard ? "hard link" : "relative link");
        const QString program = file("program"), cloud = file("cloud");
        QDir(program).removeRecursively();
        QDir(cloud).removeRecursively();
        for (const QString& folder : {program, cloud}) {
            ASSERT_TRUE(QDir().mkpath(folder));
            ::chmod(QFile::encodeName(folder).constData(), 0777);
        }
        const QByteArray target = QFile::encodeName(cloud + "/" + c.name);
        const QByteArray name = QFile::encodeName(program + "/" + c.name);
        RecordFiles::write(cloud + "/" + c.name, c.before);
        ::chmod(target.constData(), 0666);
        ASSERT_EQ(c.hard ? ::link(target.constData(), name.constData())
                         : ::symlink(QByteArray("../cloud/") + c.name, name.constData()),
            0);
        EXPECT_EQ(runDriver(QStringList {c.args[0], program} + c.args.mid(1)), QStringList()) << qPrintable(what);
        EXPECT_EQ(RecordFiles::read(cloud + "/" + c.name), c.after) << qPrintable(what);
        struct stat linked, real;
        ASSERT_EQ(::lstat(name.constData(), &linked), 0);
        ASSERT_EQ(::stat(target.constData(), &real), 0);
        EXPECT_EQ(c.hard ? linked.st_ino == real.st_ino : S_ISLNK(linked.st_mode), true) << qPrintable(what);
    }
}

// A FUSE FAT mount answers every change of mode with ENOSYS, and an old container's filter answers
// statx with EPERM: new and existing files still save.
TEST_F(Reliability, SavesWhereModesOrStatxAreRefused)
{
    for (const char* refused : {"STORE_DRIVER_NO_CHMOD", "STORE_DRIVER_NO_STATX"}) {
        RecordFiles::write(file("Email.dta"), "a@x.org\r\n");
        ::chmod(QFile::encodeName(file("Email.dta")).constData(), 0666);
        QFile::remove(file("default.dta"));
        QFile::remove(file("Sitewarden2.dta"));
        qputenv(refused, "1");
        const QStringList said = runDriver({"email", dir.path(), "b@x.org"}) + runDriver({"default", dir.path(), "me"})
            + runDriver({"save", dir.path(), "1", "x"});
        qunsetenv(refused);
        EXPECT_EQ(said, QStringList()) << refused;
        EXPECT_EQ(RecordFiles::read(file("Email.dta")), "a@x.org\r\nb@x.org\r\n") << refused;
        EXPECT_EQ(RecordFiles::read(file("default.dta")), "me\r\n") << refused;
        EXPECT_EQ(RecordFiles::read(file("Sitewarden2.dta")).size(), 307) << refused;
    }
}

// A save counts only once it is on the disk: each write of a data file is synced through its own
// descriptor (a new text file before it takes the old one's name), and after each create and rename
// the folder, opened for reading, is synced. What decides the bytes written (a file's length, its
// kind) is asked of the file system afresh, never of a network file system's cache.
TEST_F(Reliability, EveryWriteAndEveryNewNameIsSynced)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty()) {
        GTEST_SKIP() << "strace is not installed: the syncs cannot be watched";
    }
    RecordFiles::write(file("Email.dta"), "a@x.org\r\n");
    for (const QStringList& args : {QStringList {"save", dir.path(), "2", "x"}, {"update", dir.path()},
             {"email", dir.path(), "b@x.org"}, {"default", dir.path(), "me"}}) {
        QProcess traced;
        traced.start(strace,
            QStringList {"-f", "-e",
                "trace=openat,renameat,renameat2,pwrite64,write,fsync,fdatasync,close,fstat,newfstatat,statx",
                STORE_DRIVER}
                + args);
        ASSERT_TRUE(traced.waitForFinished(60000));
        static const QRegularExpression folderOpened(R"(openat\(.*O_RDONLY.*O_DIRECTORY.*\) = (\d+))");
        static const QRegularExpression dataOpened(R"(openat\(.*\.dta[^"]*", .*\) = (\d+)$)");
        static const QRegularExpression changed(R"(O_CREAT\|O_EXCL.*\) = \d+$|rename)");
        static const QRegularExpression written(R"((?:pwrite64|write)\((\d+),)");
        static const QRegularExpression synced(R"(f(?:data)?sync\((\d+)\))");
        static const QRegularExpression closed(R"(close\((\d+)\))");
        static const QRegularExpression asked(R"((?:fstat|newfstatat|statx)\((\d+), ("[^"]*")?)");
        QSet<QString> folders, dataFiles, unsyncedData;
        int unsyncedFolder = 0, dataWrites = 0, unsyncedAtRenameOrClose = 0, cachedAttributes = 0;
        for (const QString& line : QString::fromUtf8(traced.readAllStandardError()).split('\n')) {
            if (const auto m = folderOpened.match(line); m.hasMatch()) {
                folders.insert(m.captured(1));
            } else if (const auto m = dataOpened.match(line); m.hasMatch()) {
                dataFiles.insert(m.captured(1));
            }
            if (const auto m = asked.match(line);
                m.hasMatch() && (dataFiles.contains(m.captured(1)) || m.captured(2).contains(".dta"))) {
                cachedAttributes += line.contains("AT_STATX_FORCE_SYNC") ? 0 : 1;
            }
            if (changed.match(line).hasMatch() && !line.contains(".so")) {
                ++unsyncedFolder;
                unsyncedAtRenameOrClose += line.contains("rename") ? int(unsyncedData.size()) : 0;
            } else if (const auto m = written.match(line); m.hasMatch() && dataFiles.contains(m.captured(1))) {
                unsyncedData.insert(m.captured(1));
                ++dataWrites;
            } else if (const auto m = synced.match(line); m.hasMatch()) {
                unsyncedData.remove(m.captured(1));
                unsyncedFolder = folders.contains(m.captured(1)) ? 0 : unsyncedFolder;
            } else if (const auto m = closed.match(line); m.hasMatch()) {
                unsyncedAtRenameOrClose += unsyncedData.remove(m.captured(1)) ? 1 : 0;
                folders.remove(m.captured(1));
                dataFiles.remove(m.captured(1));
            }
        }
        EXPECT_GT(dataWrites, 0) << qPrintable(args[0]);
        EXPECT_EQ(unsyncedFolder, 0) << qPrintable(args[0]);
        EXPECT_EQ(unsyncedAtRenameOrClose + unsyncedData.size(), 0) << qPrintable(args[0]);
        EXPECT_EQ(cachedAttributes, 0) << qPrintable(args[0]);
    }
}

// A named pipe in place of a text file: neither reading nor saving waits for a writer.
TEST_F(Reliability, APipeInPlaceOfATextFileHangsNothing)
{
    for (const char* name : {"Email.dta", "default.dta"}) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(file(name)).constData(), 0666), 0);
    }
    QObject owner;
    QProcess* email = startDriver({"email", dir.path(), "a@x.org"}, &owner);
    QProcess* id = startDriver({"default", dir.path(), "me"}, &owner);
    EXPECT_EQ(messagesOf(email), QStringList({"email read"}));
    EXPECT_EQ(messagesOf(id), QStringList({"default open"}));
    for (const char* name : {"Email.dta", "default.dta"}) {
        EXPECT_EQ(QFileInfo(file(name)).isFile(), false) << name;
    }
}

// The driver killed at random moments while it saves entries, addresses and IDs.
TEST_F(Reliability, KillsDuringSavesDamageNothing)
{
    QRandomGenerator random(23);
    int kills = 0;
    for (int round = 0; round < 150; ++round) {
        const QString n = QString::number(round);
        const QStringList args = round % 3 == 0 ? QStringList {"save", dir.path(), "40", "k" + n}
            : round % 3 == 1                    ? QStringList {"email", dir.path(), "a" + n + "@x.org"}
                                                : QStringList {"default", dir.path(), "id" + n};
        QProcess driver;
        driver.start(STORE_DRIVER, args);
        ASSERT_TRUE(driver.waitForStarted());
        QThread::usleep(random.bounded(2000, 40000));
        if (driver.state() == QProcess::Running) {
            ::kill(pid_t(driver.processId()), SIGKILL);
            ++kills;
        }
        driver.waitForFinished();
    }
    const QByteArray records = RecordFiles::read(file("Sitewarden2.dta"));
    static const QRegularExpression entry(R"(^k\d+-\d+ *$)");
    for (int slot = 1; slot <= records.size() / 307; ++slot) {
        const QByteArray rec = RecordFiles::slot(records, slot);
        EXPECT_EQ(rec.left(2), RecordFiles::record(slot, "").left(2)) << slot;
        EXPECT_TRUE(entry.match(QString::fromLatin1(rec.mid(2, 35))).hasMatch()) << slot;
        EXPECT_EQ(rec.mid(37), RecordFiles::record(slot, "", "user", "password", "http://www.example.org").mid(37));
    }
    EXPECT_TRUE(QRegularExpression(R"(^(a\d+@x\.org\r\n)*$)").match(RecordFiles::read(file("Email.dta"))).hasMatch());
    EXPECT_TRUE(QRegularExpression(R"(^(id\d+\r\n)?$)").match(RecordFiles::read(file("default.dta"))).hasMatch());
    std::printf("%d kills, %lld records\n", kills, records.size() / 307);
    EXPECT_GE(kills, 30);
}

TEST_F(Reliability, AFullDiskKeepsWhatWasStored)
{
    FakeDataFolder folder;
    folder.folder = dir.path();
    SiteStore store(folder);
    QByteArray records;
    for (int slot = 1; slot <= 20; ++slot) {
        records
            += slot == 7 ? RecordFiles::deleted(slot) : RecordFiles::record(slot, "site" + QByteArray::number(slot));
    }
    RecordFiles::write(file("Sitewarden2.dta"), records);
    SiteStore::Result first, second;
    {
        const FileSizeLimit fullDisk(records.size());
        first = store.saveNew({"new", "u", "p", ""});
        second = store.saveNew({"newer", "u", "p", ""});
    }
    // The free slot took the first entry; the second needed room the disk did not have.
    EXPECT_EQ(first.outcome, SiteStore::Result::Outcome::Done);
    EXPECT_EQ(second.failure.step, FileFailure::Step::Write);
    EXPECT_TRUE(second.appending);
    const QByteArray after = RecordFiles::read(file("Sitewarden2.dta"));
    EXPECT_EQ(after.size(), records.size());
    EXPECT_EQ(RecordFiles::slot(after, 7), RecordFiles::record(7, "new", "u", "p"));
    EXPECT_EQ(after.left(6 * 307), records.left(6 * 307));
    EXPECT_EQ(after.mid(7 * 307), records.mid(7 * 307));
}

} // namespace
