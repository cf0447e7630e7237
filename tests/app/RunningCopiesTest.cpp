#include "RecordFiles.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The built program started for real (offscreen) from program folders of its own, with its own
// runtime and settings folders.
class RunningCopies : public ::testing::Test
{
protected:
    RunningCopies()
    {
        QDir(root.path()).mkpath("runtime");
        QDir(root.path()).mkpath("config");
        ::chmod(QFile::encodeName(root.path() + "/runtime").constData(), 0700);
    }

    QString folder(const QString& name)
    {
        const QString path = root.path() + "/" + name;
        if (!QFileInfo::exists(path)) {
            QDir().mkpath(path);
            QFile::copy(SITEWARDEN_PROGRAM, path + "/sitewarden");
            RecordFiles::write(path + "/Sitewarden2.dta", RecordFiles::record(1, "One", "u", "p"));
            RecordFiles::write(path + "/Email.dta", "a@x.org\r\n");
        }
        return path;
    }

    QProcess* start(const QString& programFolder, const QStringList& wrapper = {}, const QString& language = {})
    {
        auto* process = new QProcess(&owner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", root.path() + "/runtime");
        env.insert("XDG_CONFIG_HOME", root.path() + "/config");
        env.insert("QT_LOGGING_RULES", "sitewarden.instance.info=true;sitewarden.translations.info=true");
        if (!language.isEmpty()) {
            env.remove("LC_ALL");
            env.remove("LC_MESSAGES");
            env.remove("LANGUAGE");
            env.insert("LANG", language);
            // The language as a user who speaks it has it: a locale the C library knows, made for
            // the test in a folder of its own where the system has not generated it.
            const QString locales = root.path() + "/locales";
            const QString name = language.section('.', 0, 0);
            QProcess::execute("localedef", {"-i", name, "-f", "UTF-8", locales + "/" + language});
            env.insert("LOCPATH", locales);
        }
        process->setProcessEnvironment(env);
        const QString program = programFolder + "/sitewarden";
        if (wrapper.isEmpty()) {
            process->start(program, {});
        } else {
            process->start(wrapper.first(), wrapper.mid(1) + QStringList {program});
        }
        EXPECT_TRUE(process->waitForStarted());
        process->setReadChannel(QProcess::StandardError);
        return process;
    }

    // Whether `process` says `words` on its standard error in time; false as soon as it ends.
    bool says(QProcess* process, const QByteArray& words, int ms = 10000)
    {
        QByteArray& said = heard[process];
        const QDeadlineTimer deadline(ms);
        while (!said.contains(words) && process->state() == QProcess::Running && !deadline.hasExpired()) {
            process->waitForReadyRead(50);
            said += process->readAllStandardError();
        }
        said += process->readAllStandardError();
        return said.contains(words);
    }

    // Running, and listening for later starts.
    void waitUntilUp(QProcess* process)
    {
        EXPECT_TRUE(says(process, "listening for later starts")) << heard[process].toStdString();
        EXPECT_EQ(process->state(), QProcess::Running);
    }

    // The first start in a settings folder is over once it has stored its keep-on-top choice.
    void waitUntilStarted() const
    {
        const QString settings = root.path() + "/config/Sitewarden/Sitewarden.ini";
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(settings) && waited.elapsed() < 10000) {
            QThread::msleep(20);
        }
        EXPECT_TRUE(QFileInfo::exists(settings));
    }

    // Every file below the root with its bytes.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all.insert(path, path.contains("/runtime/") ? QByteArray() : RecordFiles::read(path));
        }
        return all;
    }

    QTemporaryDir root;
    QObject owner;
    QMap<QProcess*, QByteArray> heard;
};

TEST_F(RunningCopies, ASecondStartShowsTheFirstAndEndsWithoutTouchingAnyFile)
{
    QProcess* first = start(folder("app"));
    waitUntilUp(first);
    waitUntilStarted();
    const auto before = files();

    QElapsedTimer timer;
    timer.start();
    QProcess* second = start(folder("app"));
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(says(first, "asked this copy to show itself", 5000)) << heard[first].toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);

    // A copy that was killed leaves its lock and socket behind; the next start takes over.
    ::kill(pid_t(first->processId()), SIGKILL);
    first->waitForFinished();
    QProcess* third = start(folder("app"));
    waitUntilUp(third);
    QProcess* fourth = start(folder("app"));
    ASSERT_TRUE(fourth->waitForFinished(5000));
    EXPECT_EQ(fourth->exitCode(), 0);
    EXPECT_EQ(third->state(), QProcess::Running);
    third->kill();
    third->waitForFinished();
}

TEST_F(RunningCopies, CopiesForTwoFoldersRunSideBySide)
{
    QProcess* first = start(folder("one"));
    QProcess* second = start(folder("two"));
    waitUntilUp(first);
    waitUntilUp(second);
    EXPECT_FALSE(says(first, "asked this copy to show itself", 500));
    EXPECT_EQ(second->state(), QProcess::Running);
    for (QProcess* process : {first, second}) {
        process->kill();
        process->waitForFinished();
    }
}

// A link to the program counts as the program's own folder.
TEST_F(RunningCopies, AStartThroughALinkMeetsTheRunningCopy)
{
    QProcess* first = start(folder("app"));
    waitUntilUp(first);
    QDir().mkpath(root.path() + "/links");
    ASSERT_TRUE(QFile::link(folder("app") + "/sitewarden", root.path() + "/links/sitewarden"));
    QProcess* second = start(root.path() + "/links");
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/links/Sitewarden2.dta"));
    first->kill();
    first->waitForFinished();
}

// No core file, and other processes of the user may not read its memory: its /proc entry then
// files belong to root. As root the program runs as nobody, so that the owner tells.
TEST_F(RunningCopies, TheProgramKeepsItsMemoryToItself)
{
    QStringList wrapper;
    if (::geteuid() == 0) {
        wrapper = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        for (const QString& path : {root.path(), root.path() + "/config"}) {
            ::chmod(QFile::encodeName(path).constData(), 0777);
        }
        ::chown(QFile::encodeName(root.path() + "/runtime").constData(), 65534, 65534);
    }
    const QString app = folder("app");
    ::chmod(QFile::encodeName(app).constData(), 0777);
    QProcess* process = start(app, wrapper);
    waitUntilUp(process);
    const QString proc = "/proc/" + QString::number(process->processId());

    QFile limits(proc + "/limits");
    ASSERT_TRUE(limits.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(limits.readAll());
    EXPECT_TRUE(text.contains(QRegularExpression("Max core file size +0 +0 "))) << text.toStdString();
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(proc + "/status").constData(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    process->kill();
    process->waitForFinished();
}

// Qt's own texts (the text boxes' menus, the buttons of its boxes) come in the user's language: the
// running copy says which translation it took.
TEST_F(RunningCopies, QtsOwnTextsFollowTheUsersLanguage)
{
    QProcess* process = start(folder("app"), {}, "zh_CN.UTF-8");
    EXPECT_TRUE(says(process, "Qt's own texts from")) << heard[process].toStdString();
    EXPECT_TRUE(heard[process].contains("/qtbase_zh_CN.qm")) << heard[process].toStdString();
    process->kill();
    process->waitForFinished();
}

// In a terminal: --help and --version answer and end without a window; with no display at all, one
// clear line and a failure status instead of Qt's abort.
TEST(CommandLineTest, AnswersInATerminal)
{
    const struct
    {
        QStringList arguments;
        bool display;
        int status;
        QByteArray said;
    } cases[] = {
        {{"--help"}, true, 0, "Usage: sitewarden"},
        {{"--version"}, true, 0, "sitewarden " SITEWARDEN_VERSION "\n"},
        {{}, false, 1, "sitewarden: no display"},
        {{"--version"}, false, 0, "sitewarden " SITEWARDEN_VERSION "\n"},
    };
    for (const auto& c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        if (c.display) {
            env.insert("DISPLAY", ":99");
        } else {
            env.remove("DISPLAY");
        }
        process.setProcessEnvironment(env);
        process.start(SITEWARDEN_PROGRAM, c.arguments);
        ASSERT_TRUE(process.waitForFinished(10000)) << c.said.toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.said.toStdString();
        EXPECT_EQ(process.exitCode(), c.status) << c.said.toStdString();
        const QByteArray said = process.readAllStandardOutput() + process.readAllStandardError();
        EXPECT_TRUE(said.startsWith(c.said)) << c.said.toStdString();
        if (c.arguments == QStringList {"--help"}) {
            const QByteArray folder = QFile::encodeName(QFileInfo(SITEWARDEN_PROGRAM).canonicalPath());
            EXPECT_TRUE(said.contains("\nYour data folder: " + folder + "\n")) << said.toStdString();
        }
    }
}

} // namespace
