#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// The built program from a terminal with no display, in a program folder of its own.
TEST(LoginTransferTest, ExitStatusesAndReportsFromATerminal)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QFile::copy(SITEWARDEN_PROGRAM, folder + "/sitewarden");
    RecordFiles::write(folder + "/Sitewarden2.dta", RecordFiles::six());
    RecordFiles::write(folder + "/other.csv", "Group,Notes\nx,y\n");
    QDir(folder).mkdir("folder.csv");
    const QByteArray exported = "name,url,username,password,note\r\none,http://one,u1,p1,\r\ntwo,,u2,p2,\r\n"
                                "four,,u4,p4,\r\nsix,,u6,p6,\r\n";
    const struct
    {
        QStringList arguments;
        int status;
        QByteArray out;
        QByteArray error;
    } cases[] = {
        {{"--export", "out.csv"}, 0, "Exported: 4 entries to out.csv\n", ""},
        {{"--export", "out.csv"}, 2, "", "sitewarden: out.csv exists already; it was left as it is\n"},
        {{"--export", "-"}, 0, exported, "Exported: 4 entries to standard output\n"},
        {{"--import", "out.csv", "--dry-run"}, 0,
            "Added: 0, already held: 4, not added: 0 (a dry run: nothing was written)\n", ""},
        {{"--import", "missing.csv"}, 2, "", "sitewarden: cannot read missing.csv: No such file or directory\n"},
        {{"--import", "folder.csv"}, 2, "", "sitewarden: cannot read folder.csv: Is a directory\n"},
        {{"--import", "other.csv"}, 2, "", "login_uri"},
        {{"--import"}, 2, "", "Usage: sitewarden --import FILE [--dry-run] | --export FILE\n"},
    };
    for (const auto& c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.start(folder + "/sitewarden", c.arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        const QString called = c.arguments.join(' ');
        EXPECT_EQ(process.exitCode(), c.status) << called.toStdString();
        EXPECT_EQ(process.readAllStandardOutput(), c.out) << called.toStdString();
        EXPECT_TRUE(process.readAllStandardError().contains(c.error)) << called.toStdString();
    }
    EXPECT_EQ(RecordFiles::read(folder + "/out.csv"), exported);
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(folder + "/out.csv").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(RecordFiles::read(folder + "/Sitewarden2.dta"), RecordFiles::six());
}

} // namespace
