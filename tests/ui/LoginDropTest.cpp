#include "WindowTest.h"

#include "RecordFiles.h"

#include <QMimeData>
#include <QProcess>

namespace {

using RecordFiles::record;
using RecordFiles::six;

class LoginDropTest : public WindowTest
{
protected:
    void open()
    {
        RecordFiles::write(dataFile("Sitewarden2.dta"), six());
        window = std::make_unique<MainWindow>(platform.services());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // A file manager's drag of `path` onto `target`, let go there: whether the drag was taken.
    static bool drop(QWidget* target, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent let(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &let);
        return enter.isAccepted() && let.isAccepted();
    }

    const QByteArray csv = "name,url,username,password,note\n"
                           "two,,u2,p2,\n"
                           "seven,http://7,u7,,\n"
                           "eight,http://8,u8,p8,\n";
};

// Dropped on a box that takes text: the file is the window's, asked about, imported and reported.
TEST_F(LoginDropTest, ADroppedCsvFileIsImportedOnceTheUserSaysYes)
{
    open();
    RecordFiles::write(dataFile("chrome.csv"), csv);
    QLineEdit* address = Controls(*window).TxtURL;
    platform.messageBox.answers = {MessageBox::No, MessageBox::Yes};
    ASSERT_TRUE(drop(address, dataFile("chrome.csv")));
    ASSERT_TRUE(drop(Controls(*window).LblNames[0], dataFile("chrome.csv")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return platform.messageBox.shown.size() == 3; }, 5000));
    EXPECT_EQ(platform.messageBox.shown[0].prompt, QStringLiteral("把 chrome.csv 中的登录信息加入 Sitewarden 吗?"));
    EXPECT_EQ(platform.messageBox.shown[2].prompt,
        QStringLiteral("已添加 1 条, 已有 1 条, 未添加 1 条.\r\n第 3 行: 密码为空"));
    EXPECT_EQ(listLines(*window).at(2), "eight");
    EXPECT_FALSE(address->text().contains("chrome.csv"));
    QByteArray expected = six();
    expected.replace(2 * 307, 307, record(3, "eight", "u8", "p8", "http://8"));
    EXPECT_EQ(RecordFiles::read(dataFile("Sitewarden2.dta")), expected);
}

// A terminal's import while the window is open: listed within a second, with no display needed.
TEST_F(LoginDropTest, AnImportFromATerminalIsListedWithinASecond)
{
    open();
    RecordFiles::write(dataFile("chrome.csv"), csv);
    QFile::copy(SITEWARDEN_PROGRAM, dataFile("sitewarden"));
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    import.setProcessEnvironment(env);
    import.start(dataFile("sitewarden"), {"--import", dataFile("chrome.csv")});
    ASSERT_TRUE(import.waitForFinished(10000));
    EXPECT_EQ(import.exitCode(), 1);
    EXPECT_EQ(
        import.readAllStandardOutput(), "line 3: the password is blank\nAdded: 1, already held: 1, not added: 1\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return listLines(*window).at(2) == "eight"; }, 1000));
}

} // namespace
