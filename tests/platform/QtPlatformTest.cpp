#include "DataFolderRule.h"
#include "PlatformChoice.h"
#include "QtBeeper.h"
#include "QtClipboard.h"
#include "QtDataFolder.h"
#include "QtMessageBox.h"
#include "QtSettingsStore.h"
#include "QtTranslations.h"
#include "QtUrlOpener.h"
#include "QtWindowPlacement.h"
#include "SingleInstance.h"
#include "StartupActivation.h"

#include "QtPrinters.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <QWindow>

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
// XKB's header names a field "explicit", which C++ reserves.
#define explicit xkbExplicit
#include <xcb/xkb.h>
#undef explicit

namespace {

TEST(QtSettingsStoreTest, KeepsTextValuesInTheUsersIniFile)
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    QtSettingsStore store;

    EXPECT_EQ(store.getSetting("Sitewarden", "设置", "WebSet", "False"), "False");
    store.saveSetting("Sitewarden", "设置", "WebSet", "True");
    store.saveSetting("Sitewarden", "设置", "EnableURL", "False");
    EXPECT_EQ(store.getSetting("Sitewarden", "设置", "WebSet", "False"), "True");
    EXPECT_EQ(store.getSetting("Sitewarden", "设置", "EnableURL", "True"), "False");

    QFile ini(config.path() + "/Sitewarden/Sitewarden.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    EXPECT_TRUE(text.contains("WebSet=True")) << text.toStdString();
    EXPECT_TRUE(text.contains("EnableURL=False")) << text.toStdString();
}

TEST(QtSettingsStoreTest, RewritesTheFileOnlyWhenAValueChanges)
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    QtSettingsStore store;
    const QString path = config.path() + "/Sitewarden/Sitewarden.ini";
    // The file is replaced whole on every write, so a new inode tells a rewrite.
    const auto inode = [&] {
        struct stat info = {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_ino;
    };

    store.saveSetting("Sitewarden", "设置", "WebSet", "True");
    const auto first = inode();
    store.saveSetting("Sitewarden", "设置", "WebSet", "True");
    EXPECT_EQ(inode(), first);

    store.saveSetting("Sitewarden", "设置", "WebSet", "False");
    EXPECT_NE(inode(), first);
    EXPECT_EQ(store.getSetting("Sitewarden", "设置", "WebSet", "True"), "False");
}

TEST(QtSettingsStoreTest, SaysWhenAValueCannotBeStored)
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    QtSettingsStore store;
    EXPECT_TRUE(store.saveSetting("Sitewarden", "设置", "WebSet", "True"));
    // A folder where the file should be cannot be written, even by root.
    const QString ini = config.path() + "/Sitewarden/Sitewarden.ini";
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QDir().mkpath(ini));
    EXPECT_FALSE(store.saveSetting("Sitewarden", "设置", "WebSet", "False"));
}

// A folder unpacked from a Chinese Windows archive keeps its GBK name: not valid UTF-8.
// The box the user meets: its icon and buttons by the style, and the answer of the button pressed.
TEST(QtMessageBoxTest, AnswersWithTheButtonTheUserPressed)
{
    const struct
    {
        int style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton pressed;
        int answer;
    } cases[] = {
        {MessageBox::YesNo, QMessageBox::NoIcon, QMessageBox::Yes, MessageBox::Yes},
        {MessageBox::YesNo, QMessageBox::NoIcon, QMessageBox::No, MessageBox::No},
        // Enter: the default button.
        {MessageBox::YesNo, QMessageBox::NoIcon, QMessageBox::NoButton, MessageBox::Yes},
        {MessageBox::Critical, QMessageBox::Critical, QMessageBox::Ok, MessageBox::Ok},
        {MessageBox::Information | MessageBox::SetForeground, QMessageBox::Information, QMessageBox::Ok,
            MessageBox::Ok},
    };
    for (const auto& c : cases) {
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            shown = box->icon();
            if (c.pressed == QMessageBox::NoButton) {
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                box->button(c.pressed)->click();
            }
        });
        QtMessageBox messageBox;
        EXPECT_EQ(messageBox.show("prompt", c.style, "title"), c.answer) << c.style;
        EXPECT_EQ(shown, c.icon) << c.style;
    }
}

TEST(QtDataFolderTest, FindsFilesInAFolderWhateverBytesNameIt)
{
    QTemporaryDir root;
    const QByteArray folder = QFile::encodeName(root.path()) + "/\xb3\xcc\xd0\xf2 \xca\xfd\xbe\xdd";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QtDataFolder programFolder(folder + "/sitewarden");
    EXPECT_EQ(programFolder.location(), folder);

    QSaveFile saved(programFolder.filePath("Email.dta"));
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write("a@x.org\r\n");
    ASSERT_TRUE(saved.commit());
    char bytes[16] = {};
    const int fd = ::open((folder + "/Email.dta").constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::read(fd, bytes, sizeof bytes), 9);
    ::close(fd);

    for (const QByteArray& program : {QByteArray(), folder + "/gone/sitewarden"}) {
        const QtDataFolder missing(program);
        EXPECT_EQ(missing.filePath("Email.dta"), QString()) << program.toStdString();
    }
    // QTemporaryDir cannot name what is not UTF-8: the folder goes by its bytes.
    EXPECT_EQ(::unlink((folder + "/Email.dta").constData()), 0);
    EXPECT_EQ(::rmdir(folder.constData()), 0);
}

// A stick pulled out and plugged back in at the same place: another file system where the folder
// was. The paths handed out before lead into the new one, never into the old.
TEST(QtDataFolderTest, FindsItsFolderAgainOnADiskMountedAgain)
{
    QTemporaryDir root;
    const QByteArray stick = QFile::encodeName(root.path()) + "/stick";
    ASSERT_EQ(::mkdir(stick.constData(), 0700), 0);
    if (::mount("sitewarden-test", stick.constData(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "no tmpfs may be mounted here: " << std::strerror(errno);
    }
    QtDataFolder folder(stick + "/sitewarden");
    const QString path = folder.filePath("Email.dta");
    RecordFiles::write(path, "old\r\n");
    RecordFiles::write(folder.filePath("sitewarden"), "program");
    const int old = ::open(stick.constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::umount2(stick.constData(), MNT_DETACH), 0);
    folder.recover();
    EXPECT_EQ(RecordFiles::read(path), "old\r\n") << "an empty mount point is not the folder";
    ASSERT_EQ(::mount("sitewarden-test", stick.constData(), "tmpfs", 0, "size=1m"), 0);
    RecordFiles::write(QFile::decodeName(stick) + "/Email.dta", "new\r\n");
    RecordFiles::write(QFile::decodeName(stick) + "/sitewarden", "program");
    folder.recover();
    RecordFiles::write(path, "saved\r\n");
    EXPECT_EQ(RecordFiles::read(QFile::decodeName(stick) + "/Email.dta"), "saved\r\n");
    char bytes[16] = {};
    const int oldFile = ::openat(old, "Email.dta", O_RDONLY);
    EXPECT_EQ(::read(oldFile, bytes, sizeof bytes), 5);
    EXPECT_EQ(QByteArray(bytes), "old\r\n");
    ::close(oldFile);
    ::close(old);
    ::umount2(stick.constData(), MNT_DETACH);
}

// The per-user folder on a home that is mounted again (a network home, say): an empty mount point
// open to others is not it; the user's own private folder there is.
TEST(QtDataFolderTest, FindsThePerUserFolderAgainOnAHomeMountedAgain)
{
    QTemporaryDir root;
    const QByteArray savedHome = qgetenv("HOME"), savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path()));
    QtDataFolder folder("/usr/lib/sitewarden/sitewarden");
    qputenv("XDG_DATA_HOME", savedDataHome);
    qputenv("HOME", savedHome);
    const QByteArray location = QFile::encodeName(root.path()) + "/Sitewarden";
    ASSERT_EQ(folder.location(), location);
    const QString path = folder.filePath("Email.dta");
    RecordFiles::write(path, "old\r\n");
    if (::mount("sitewarden-test", location.constData(), "tmpfs", 0, "size=1m,mode=755") != 0) {
        GTEST_SKIP() << "no tmpfs may be mounted here: " << std::strerror(errno);
    }
    folder.recover();
    EXPECT_EQ(RecordFiles::read(path), "old\r\n") << "a folder open to others is not the user's";
    ASSERT_EQ(::umount2(location.constData(), MNT_DETACH), 0);
    ASSERT_EQ(::mount("sitewarden-test", location.constData(), "tmpfs", 0, "size=1m,mode=700"), 0);
    folder.recover();
    RecordFiles::write(path, "saved\r\n");
    EXPECT_EQ(RecordFiles::read(QFile::decodeName(location) + "/Email.dta"), "saved\r\n");
    ::umount2(location.constData(), MNT_DETACH);
    EXPECT_EQ(RecordFiles::read(QFile::decodeName(location) + "/Email.dta"), "old\r\n");
}

// The data folder's rule as an ordinary user meets it: run as nobody when the tests run as root, who
// may write any folder. The choice comes back through a pipe as its path and its problem.
DataFolderRule::Choice asUser(bool prepare, const QByteArray& program)
{
    const auto choose = [&] { return prepare ? DataFolderRule::prepare(program) : DataFolderRule::locate(program); };
    if (::geteuid() != 0) {
        return choose();
    }
    int ends[2];
    if (::pipe(ends) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0
            || ::setresuid(65534, 65534, 65534) != 0) {
            ::_exit(1);
        }
        const DataFolderRule::Choice choice = choose();
        const QByteArray answer = choice.path + '\n' + QByteArray::number(int(choice.problem));
        ::_exit(::write(ends[1], answer.constData(), size_t(answer.size())) == answer.size() ? 0 : 1);
    }
    ::close(ends[1]);
    QByteArray answer;
    char chunk[4096];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) {
        answer.append(chunk, n);
    }
    ::close(ends[0]);
    ::waitpid(child, nullptr, 0);
    DataFolderRule::Choice choice;
    choice.path = answer.left(answer.lastIndexOf('\n'));
    choice.problem = DataFolderRule::Problem(answer.mid(answer.lastIndexOf('\n') + 1).toInt());
    return choice;
}

// Where the data files live: beside the program wherever they are or its folder may be written, in
// the user's own data folder for a system-wide install or an unwritable folder without them.
TEST(DataFolderTest, DataBesideTheProgramIsUsedWhereverItIs)
{
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    const QByteArray home = root + "/home", perUser = home + "/.local/share/Sitewarden";
    ::chmod(root.constData(), 0755);
    for (const char* folder : {"/build", "/home", "/readonly", "/readonly-empty", "/no-new-files", "/stick"}) {
        ASSERT_EQ(::mkdir(root + folder, 0755), 0) << folder;
    }
    RecordFiles::write(QFile::decodeName(root + "/build/Email.dta"), "a@x.org\r\n");
    RecordFiles::write(QFile::decodeName(root + "/readonly/Sitewarden2.dta"), RecordFiles::record(1, "a"));
    RecordFiles::write(QFile::decodeName(root + "/no-new-files/default.dta"), "me\r\n");
    ::chmod(root + "/no-new-files/default.dta", 0666);
    ::chown(home.constData(), 65534, 65534);
    for (const char* folder : {"/readonly", "/readonly-empty", "/no-new-files"}) {
        ::chmod(root + folder, 0555);
    }
    // A write-protected stick: the kernel refuses every write, root's too.
    const bool stick = ::mount("sitewarden-test", root + "/stick", "tmpfs", 0, "size=1m,mode=755") == 0;
    if (stick) {
        RecordFiles::write(QFile::decodeName(root + "/stick/Sitewarden2.dta"), RecordFiles::record(1, "a"));
        ::mount(nullptr, root + "/stick", nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
    }
    const struct
    {
        const char* what;
        QByteArray program, expected;
    } cases[] = {
        {"the build tree", root + "/build", root + "/build"},
        {"system-wide, without files", "/usr/lib/sitewarden", perUser},
        // The kernel's name for the program folder has no "..": only the prefix can tell it system-wide.
        {"system-wide, with files", "/usr/.." + root + "/build", perUser},
        {"read-only, with files", root + "/readonly", root + "/readonly"},
        {"read-only, empty", root + "/readonly-empty", perUser},
        {"refuses new files, its files writable", root + "/no-new-files", root + "/no-new-files"},
        {"a write-protected stick with files", root + "/stick", stick ? root + "/stick" : QByteArray()},
        {"not there (yet)", root + "/gone", root + "/gone"},
    };
    const QByteArray savedHome = qgetenv("HOME"), savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", home);
    qunsetenv("XDG_DATA_HOME");
    for (const auto& c : cases) {
        if (!c.expected.isEmpty()) {
            EXPECT_EQ(asUser(false, c.program).path, c.expected) << c.what;
        }
    }
    qputenv("HOME", savedHome);
    qputenv("XDG_DATA_HOME", savedDataHome);
    if (stick) {
        ::umount2(root + "/stick", MNT_DETACH);
    }
}

// The per-user folder: made for the user alone, made private where the user made it open to others
// (their files keep their modes), and refused with a reason where it cannot be theirs.
TEST(DataFolderTest, ThePerUserFolderIsTheUsersAlone)
{
    const bool root = ::geteuid() == 0;
    const uid_t user = root ? 65534 : ::geteuid();
    const struct
    {
        const char* what;
        const char* made; // "" for nothing, "dir" a folder, "file" a file; made with mode 755
        uid_t owner;
        const char* dataHome;
        DataFolderRule::Problem problem;
    } cases[] = {
        {"none yet", "", user, "", DataFolderRule::Problem::None},
        {"made with mkdir -p under umask 022", "dir", user, "", DataFolderRule::Problem::None},
        {"a relative XDG_DATA_HOME is ignored", "dir", user, "relative/data", DataFolderRule::Problem::None},
        {"a file in its place", "file", user, "", DataFolderRule::Problem::NotAFolder},
        {"another user's", "dir", 0, "", DataFolderRule::Problem::OtherOwner},
    };
    const QByteArray savedHome = qgetenv("HOME"), savedDataHome = qgetenv("XDG_DATA_HOME");
    for (const auto& c : cases) {
        if (!root && c.owner != user) {
            continue;
        }
        QTemporaryDir dir;
        const QByteArray base = QFile::encodeName(dir.path());
        const QByteArray home = base + "/home", data = home + "/.local/share", folder = data + "/Sitewarden";
        ::chmod(base.constData(), 0755);
        ASSERT_EQ(QDir().mkpath(QFile::decodeName(data)), true);
        if (QByteArray(c.made) == "dir") {
            ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
            RecordFiles::write(QFile::decodeName(folder + "/Email.dta"), "a@x.org\r\n");
            ::chmod(folder + "/Email.dta", 0644);
            ::chown(folder + "/Email.dta", c.owner, c.owner);
        } else if (QByteArray(c.made) == "file") {
            RecordFiles::write(QFile::decodeName(folder), "not a folder");
        }
        for (const QByteArray& path : {home, home + "/.local", data, folder}) {
            ::chown(path.constData(), user, user);
        }
        ::chown(folder.constData(), c.owner, c.owner);
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", c.dataHome);
        const DataFolderRule::Choice choice = asUser(true, "/usr/lib/sitewarden");
        EXPECT_EQ(choice.problem, c.problem) << c.what;
        EXPECT_EQ(choice.path, folder) << c.what;
        struct stat info = {};
        ::stat(folder.constData(), &info);
        if (c.problem == DataFolderRule::Problem::None) {
            EXPECT_EQ(info.st_mode & 07777, 0700u) << c.what;
            if (QByteArray(c.made) == "dir") {
                ::stat(folder + "/Email.dta", &info);
                EXPECT_EQ(info.st_mode & 07777, 0644u) << c.what;
            }
        } else if (QByteArray(c.made) == "dir") {
            EXPECT_EQ(info.st_mode & 07777, 0755u) << c.what << ": another user's folder is left as it is";
        }
    }
    qputenv("HOME", savedHome);
    qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST(QtWindowPlacementTest, KeepOnTopChangesTheSameNativeWindowAndOnlyTopmostMoves)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const WId id = window.winId();
    QtWindowPlacement placement;
    EXPECT_EQ(placement.primaryScreen(), QGuiApplication::primaryScreen()->availableGeometry());

    placement.setWindowPos(&window, WindowPlacement::Topmost, 40, 30, 360, 268, WindowPlacement::NoSize);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.pos(), QPoint(40, 30));

    placement.setWindowPos(&window, WindowPlacement::NoTopmost, 0, 0, 360, 268, 0x53);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(40, 30));
    EXPECT_EQ(window.size(), QSize(200, 100));
    EXPECT_EQ(window.winId(), id);
}

TEST(QtWindowPlacementTest, AHiddenWindowStaysHidden)
{
    QWidget window;
    QtWindowPlacement placement;
    placement.setWindowPos(&window, WindowPlacement::Topmost, 10, 20, 0, 0, WindowPlacement::NoSize);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
}

} // namespace

namespace {

TEST(QtClipboardTest, OnlyTheSecretCarriesTheHintForClipboardManagers)
{
    QtClipboard clipboard;
    const QString hint = "x-kde-passwordManagerHint";

    clipboard.setText("the password", true);
    const QMimeData* secret = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(secret);
    EXPECT_EQ(secret->text(), "the password");
    EXPECT_EQ(secret->data(hint), "secret");

    clipboard.setText("user id", false);
    const QMimeData* plain = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(plain->text(), "user id");
    EXPECT_FALSE(plain->hasFormat(hint));

    clipboard.clear();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

} // namespace

namespace {

// A runtime folder whose name leaves no room for the socket in a socket address; the later start's
// request reaches the first copy whole.
// A runtime folder whose name leaves no room for a socket's: the socket lives in a short folder of
// the user's own in the temporary folder.
class SingleInstanceTest : public ::testing::Test
{
protected:
    SingleInstanceTest()
    {
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
    }
    ~SingleInstanceTest() override
    {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("TMPDIR", savedTemporary);
    }

    QTemporaryDir dir;
    const QString runtime
        = dir.path() + QStringLiteral("/a-runtime-folder-with-a-name-long-enough-to-fill-the-address");
    const QByteArray socketFolder = QFile::encodeName(dir.path()) + "/sitewarden-" + QByteArray::number(::getuid());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTemporary = qgetenv("TMPDIR");
};

TEST_F(SingleInstanceTest, ALongRuntimeFolderStillLetsALaterStartFindTheFirst)
{
    SingleInstance first(QFile::encodeName(dir.path()));
    SingleInstance later(QFile::encodeName(dir.path()));
    QSignalSpy asked(&first, &SingleInstance::showRequested);
    const QByteArray request = "startup-id=launcher-42_TIME1234\nactivation-token=\n";
    EXPECT_TRUE(first.start({}));
    EXPECT_FALSE(later.start([&] { return request; }));
    ASSERT_TRUE(asked.wait(3000));
    EXPECT_EQ(asked.first().first().toByteArray(), request);
    // A request far over the size of one ends the reading: the running copy takes what fits.
    SingleInstance flooding(QFile::encodeName(dir.path()));
    EXPECT_FALSE(flooding.start([] { return QByteArray(20000, 'x'); }));
    ASSERT_TRUE(asked.wait(3000));
    EXPECT_LE(asked.last().first().toByteArray().size(), 4096);
}

// A short socket folder that is not the user's alone (open to others, say) is not listened in: another
// user could answer a later start there.
TEST_F(SingleInstanceTest, ASocketFolderOpenToOthersIsNotUsed)
{
    ASSERT_EQ(::mkdir(socketFolder.constData(), 0700), 0);
    ::chmod(socketFolder.constData(), 0777);
    SingleInstance first(QFile::encodeName(dir.path()));
    EXPECT_TRUE(first.start({}));
    EXPECT_TRUE(QDir(QFile::decodeName(socketFolder)).isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot));
}

// The beep of a refused command is the display's bell, heard under X11 (there the test runs from
// the desktop tests; elsewhere it has nothing to listen to).
TEST(QtBeeperTest, RingsTheDisplaysBell)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "the bell is listened for under X11";
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_xkb_use_extension_reply_t* use
        = xcb_xkb_use_extension_reply(connection, xcb_xkb_use_extension(connection, 1, 0), nullptr);
    ASSERT_TRUE(use && use->supported);
    std::free(use);
    xcb_xkb_select_events(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0,
        XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0, 0, nullptr);
    // A round trip: the server has the selection before the bell rings.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    const uint8_t xkbEvent = xcb_get_extension_data(connection, &xcb_xkb_id)->first_event;
    QtBeeper().beep();
    bool rang = false;
    const QDeadlineTimer deadline(5000);
    while (!rang && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            rang = rang
                || ((event->response_type & 0x7f) == xkbEvent
                    && reinterpret_cast<xcb_xkb_bell_notify_event_t*>(event)->xkbType == XCB_XKB_BELL_NOTIFY);
            std::free(event);
        }
        QThread::msleep(10);
    }
    xcb_disconnect(connection);
    EXPECT_TRUE(rang);
}

// Stands in for the user's browser: what it was asked to open.
class Browser : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void open(const QUrl& url) { opened << url.toString(QUrl::FullyEncoded); }
    QStringList opened;
};

// The browser is handed the address as given, and only an address that is valid as it stands.
TEST(QtUrlOpenerTest, OpensExactlyTheAddressGiven)
{
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    QtUrlOpener opener;
    EXPECT_TRUE(opener.open(QStringLiteral("http://example.org/a%20b?q=1")));
    EXPECT_FALSE(opener.open(QStringLiteral("http://example.org/a b")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    EXPECT_EQ(browser.opened, QStringList({"http://example.org/a%20b?q=1"}));
}

// A second start brings the window back out of the task bar.
TEST(StartupActivationTest, AMinimizedWindowIsShownAgain)
{
    QWidget window;
    window.showMinimized();
    StartupActivation::activate(window, {});
    EXPECT_FALSE(window.windowState().testFlag(Qt::WindowMinimized));
    EXPECT_TRUE(window.isVisible());
}

TEST(StartupActivationTest, StartupIdsGiveTheirTimeAndAreEndedQuoted)
{
    const struct
    {
        QByteArray id;
        quint32 time;
        QByteArray remove;
    } cases[] = {
        {"kwin-3-host_TIME123456", 123456, R"(remove: ID="kwin-3-host_TIME123456")"},
        {"a b\\c\"d_TIME7", 7, R"(remove: ID="a b\\c\"d_TIME7")"},
        {"3b2e7c1a-0b55-4f7e", 0, R"(remove: ID="3b2e7c1a-0b55-4f7e")"},
        {"x_TIME", 0, R"(remove: ID="x_TIME")"},
        {"x_TIME12abc", 0, R"(remove: ID="x_TIME12abc")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartupActivation::timeOfStartupId(c.id), c.time) << c.id.constData();
        EXPECT_EQ(StartupActivation::removeMessage(c.id), c.remove);
    }
}

// Qt's own texts in Chinese: the boxes' buttons and the text boxes' menu.
TEST(QtTranslationsTest, QtsOwnTextsFollowTheLocale)
{
    ASSERT_TRUE(QtTranslations::install(*QCoreApplication::instance(), QLocale(QLocale::Chinese, QLocale::China)));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "是(&Y)");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy"), "复制(&C)");
    delete QCoreApplication::instance()->findChild<QTranslator*>();
    EXPECT_FALSE(
        QtTranslations::install(*QCoreApplication::instance(), QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
}

TEST(PlatformChoiceTest, XcbFirstUnlessTheUserChose)
{
    const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
    const struct
    {
        const char* environment; // nullptr: unset
        std::vector<const char*> arguments;
        const char* chosen;
    } cases[] = {
        {nullptr, {"sitewarden"}, "xcb;wayland"},
        {"", {"sitewarden"}, "xcb;wayland"},
        {"wayland", {"sitewarden"}, "wayland"},
        {nullptr, {"sitewarden", "-platform", "wayland"}, nullptr},
        {nullptr, {"sitewarden", "--platform", "offscreen"}, nullptr},
    };
    for (const auto& c : cases) {
        if (c.environment) {
            qputenv("QT_QPA_PLATFORM", c.environment);
        } else {
            qunsetenv("QT_QPA_PLATFORM");
        }
        const bool applied = PlatformChoice::apply(int(c.arguments.size()), c.arguments.data());
        const char* got = std::getenv("QT_QPA_PLATFORM");
        EXPECT_EQ(got ? std::string(got) : "(unset)", c.chosen ? c.chosen : "(unset)") << c.arguments.back();
        // Once the application exists, the programs it starts see the user's own setting.
        PlatformChoice::restore(applied);
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(c.environment)) << c.arguments.back();
    }
    qputenv("QT_QPA_PLATFORM", saved);
}

} // namespace

#include "QtPlatformTest.moc"
