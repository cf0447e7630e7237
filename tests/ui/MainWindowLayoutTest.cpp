#include "Layout.h"
#include "Version.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class MainWindowLayoutTest : public ::testing::Test
{
protected:
    MainWindowLayoutTest() { platform.dataFolder.folder = dir.path(); }

    QWidget* control(const char* name, int index = -1) const
    {
        for (QWidget* w : window.findChildren<QWidget*>(QLatin1String(name))) {
            if (index < 0 || w->property("index").toInt() == index) {
                return w;
            }
        }
        return nullptr;
    }

    QTemporaryDir dir;
    TestPlatform platform;
    MainWindow window {platform.services()};
};

struct ControlRow
{
    const char* name;
    int index;
    const char* kind;
    QString caption;
    QString tooltip;
    QRect pixels;
    QString font;
    qreal points;
};

TEST_F(MainWindowLayoutTest, EveryControlStandsWhereTheTableSays)
{
    const QString def;
    const QString ms = QStringLiteral("MS Sans Serif");
    const ControlRow rows[] = {
        {"Command4", -1, "QPushButton", "更新(&U)", "", {304, 120, 49, 19}, def, 0},
        // Start-up shows record 1 of the empty file over the three placeholders.
        {"TxtURL", -1, "QLineEdit", "", "", {184, 96, 169, 19}, ms, 8.25},
        {"Command3", -1, "QPushButton", "保存(&A)", "保存电子邮件地址", {184, 192, 49, 19}, def, 0},
        {"Command2", -1, "QPushButton", "擦除(&R)", "", {240, 192, 49, 19}, def, 0},
        {"CmdPaste", 3, "QPushButton", "默认(&D)", "粘贴到默认 ID", {281, 38, 60, 18}, "新宋体", 9.75},
        {"CmdPaste", 2, "QPushButton", "", "粘贴到剪贴板", {328, 165, 25, 21}, def, 0},
        {"Command1", -1, "QPushButton", "擦除(&E)", "", {244, 121, 49, 19}, def, 0},
        {"CmdAdd", -1, "QPushButton", "保存(&S) ", "保存 ID 及密码      ", {184, 121, 49, 19}, def, 0},
        {"Text1", -1, "QLineEdit", "", "", {8, 16, 161, 19}, def, 0},
        {"List1", -1, "QListView", "", "", {8, 56, 161, 156}, ms, 9.75},
        {"Combo2", -1, "QComboBox", "", "", {184, 165, 145, 21}, def, 0},
        {"CmdPaste", 1, "QPushButton", "", "粘贴到剪贴板     ", {328, 56, 25, 21}, def, 0},
        {"CmdPaste", 0, "QPushButton", "", "粘贴到剪贴板     ", {328, 16, 25, 21}, def, 0},
        {"TxtPassword", -1, "QLineEdit", "", "", {184, 56, 145, 19}, def, 0},
        {"TxtUser", -1, "QLineEdit", "", "", {184, 16, 145, 19}, def, 0},
        {"LblNames", 3, "QLabel", "网址", "", {184, 80, 77, 16}, ms, 9.75},
        {"LblNames", 5, "QLabel", "输入新的网站描述          ", "", {8, 0, 158, 16}, ms, 9.75},
        {"LblNames", 4, "QLabel", "电子邮件列表         ", "", {184, 149, 61, 16}, ms, 9.75},
        {"LblNames", 2, "QLabel", "网站", "", {8, 40, 62, 16}, ms, 9.75},
        {"LblNames", 1, "QLabel", "密码", "", {184, 40, 60, 16}, ms, 9.75},
        {"LblNames", 0, "QLabel", "用户 ID", "", {184, 0, 45, 16}, ms, 9.75},
    };
    QWidget* client = window.centralWidget();
    EXPECT_EQ(client->size(), QSize(360, 222));
    const QList<QWidget*> created = client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(created.size(), int(std::size(rows)));
    for (int i = 0; i < created.size(); ++i) {
        const ControlRow& row = rows[i];
        const std::string what = std::string(row.name) + "[" + std::to_string(row.index) + "]";
        QWidget* w = created[i];
        EXPECT_EQ(w->objectName(), QLatin1String(row.name)) << "creation order at " << i;
        EXPECT_TRUE(w->inherits(row.kind)) << what << " is a " << w->metaObject()->className();
        if (row.index >= 0) {
            EXPECT_EQ(w->property("index").toInt(), row.index) << what;
        }
        if (qobject_cast<QLabel*>(w)) {
            // A label may grow to the right to show its whole text.
            EXPECT_EQ(w->pos(), row.pixels.topLeft()) << what;
            EXPECT_EQ(w->height(), row.pixels.height()) << what;
            EXPECT_GE(w->width(), row.pixels.width()) << what;
        } else {
            EXPECT_EQ(w->geometry(), row.pixels) << what;
        }
        EXPECT_EQ(w->toolTip(), row.tooltip) << what;
        EXPECT_TRUE(w->isEnabled()) << what;
        QString caption;
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            caption = button->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            caption = edit->text();
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            caption = label->text();
        }
        EXPECT_EQ(caption, row.caption) << what;
        if (!row.font.isEmpty()) {
            EXPECT_EQ(shownFamily(w->font()), designFamily(row.font)) << what;
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), row.points) << what;
        }
        EXPECT_EQ(w->font().underline(), QLatin1String(row.name) == QLatin1String("TxtURL")) << what;
    }
}

// A design family the system has is kept, Latin or Chinese, under any of its names; one it lacks
// takes the font fontconfig gives Chinese text under that name.
TEST_F(MainWindowLayoutTest, DesignFamiliesAsTheSystemShowsThem)
{
    const QString rows[][2] = {
        {"DejaVu Sans", "DejaVu Sans"},
        {"文泉驿微米黑", "文泉驿微米黑"},
        {"宋体", chineseMatch("宋体")},
        {"MS Sans Serif", chineseMatch("MS Sans Serif")},
    };
    for (const auto& [design, shown] : rows) {
        EXPECT_EQ(Layout::installedFamily(design), shown) << design.toStdString();
    }
}

// Message boxes and tooltips keep the desktop's font, and follow it when the desktop changes it.
TEST(ApplicationFont, IsLeftAsItWasByTheWindowAndFollowsTheDesktop)
{
    const QFont before = QApplication::font();
    QTemporaryDir dir;
    TestPlatform platform;
    platform.dataFolder.folder = dir.path();
    MainWindow window(platform.services());
    EXPECT_EQ(QApplication::font(), before);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 21));
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(&window, &themeChange);
    EXPECT_EQ(QApplication::font(), QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

// A screen reader tells the picture buttons apart, and reads each box with its label.
TEST_F(MainWindowLayoutTest, PictureButtonsShowThePictureAndCarryAnAccessibleName)
{
    const QString names[] = {"复制用户 ID", "复制密码", "复制电子邮件地址"};
    for (int index : {0, 1, 2}) {
        auto* button = qobject_cast<QPushButton*>(control("CmdPaste", index));
        ASSERT_TRUE(button);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), names[index]);
        EXPECT_TRUE(button->toolTip().startsWith(QStringLiteral("粘贴到剪贴板")));
    }
    const std::pair<QWidget*, int> labelled[] = {{Controls(window).TxtPassword, 1}, {Controls(window).Combo2, 4}};
    for (const auto& [box, index] : labelled) {
        const auto relations = QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        ASSERT_EQ(relations.size(), 1) << box->objectName().toStdString();
        EXPECT_EQ(relations.first().first->object(), Controls(window).LblNames[index]);
    }
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sitewarden v" SITEWARDEN_VERSION));
}

TEST_F(MainWindowLayoutTest, ThePasswordShowsInClearAndNoBoxHasALimit)
{
    for (QLineEdit* edit : {Controls(window).Text1, Controls(window).TxtUser, Controls(window).TxtPassword,
             Controls(window).TxtURL, Controls(window).Combo2->lineEdit()}) {
        EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
        EXPECT_GT(edit->maxLength(), 100000);
    }
    EXPECT_TRUE(Controls(window).Combo2->isEditable());
    EXPECT_EQ(Controls(window).Combo2->count(), 0);
}

TEST_F(MainWindowLayoutTest, TabVisitsTheControlsInOrderAndSkipsTheLabels)
{
    const QList<QWidget*> expected = {Controls(window).CmdAdd, Controls(window).Command1, Controls(window).Text1,
        Controls(window).List1, Controls(window).Combo2, Controls(window).CmdPaste[2], Controls(window).Command3,
        Controls(window).Command2, Controls(window).CmdPaste[3], Controls(window).TxtUser, Controls(window).CmdPaste[0],
        Controls(window).TxtPassword, Controls(window).CmdPaste[1], Controls(window).TxtURL, Controls(window).Command4};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Controls(window).CmdAdd->setFocus();
    for (int i = 1; i <= expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i % expected.size()]) << "after tab " << i;
    }
}

TEST_F(MainWindowLayoutTest, MenuTreeCaptionsAndShortcuts)
{
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0], Controls(window).mnuexit);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("退出(&X)"));
    EXPECT_EQ(bar[0]->menu(), nullptr);
    EXPECT_EQ(bar[1]->menu(), Controls(window).mnuOptions);
    EXPECT_EQ(Controls(window).mnuOptions->title(), QStringLiteral("选项(&O)"));
    EXPECT_EQ(bar[2]->menu(), Controls(window).mnuHelps);
    EXPECT_EQ(Controls(window).mnuHelps->title(), QStringLiteral("帮助(&H)"));

    const struct
    {
        QAction* action;
        QMenu* menu;
        QString caption;
        QKeySequence shortcut;
    } items[] = {
        {Controls(window).mnuSetDefaults, Controls(window).mnuOptions, "设置默认用户 ID (&S)        ",
            QKeySequence("Ctrl+D")},
        {Controls(window).mnuConfirm, Controls(window).mnuOptions, "不确认启动网页(&C)          ",
            QKeySequence("Ctrl+C")},
        {Controls(window).mnuTop, Controls(window).mnuOptions, "窗口置顶(&T)         ", QKeySequence("Ctrl+T")},
        {Controls(window).mnuHelp, Controls(window).mnuHelps, "帮助(&H)", QKeySequence("Ctrl+H")},
        {Controls(window).mnuAbout, Controls(window).mnuHelps, "关于(&A)", QKeySequence("Ctrl+A")},
    };
    QList<QAction*> options;
    QList<QAction*> helps;
    for (const auto& item : items) {
        EXPECT_EQ(item.action->text(), item.caption);
        EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.caption.toStdString();
        (item.menu == Controls(window).mnuOptions ? options : helps).append(item.action);
    }
    EXPECT_EQ(Controls(window).mnuOptions->actions(), options);
    EXPECT_EQ(Controls(window).mnuHelps->actions(), helps);
}

// Swallows the shortcut event on its way to an action, so only the routing of the key is seen.
class ShortcutCatcher : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut) {
            ++caught;
            return true;
        }
        return false;
    }
    int caught = 0;
};

TEST_F(MainWindowLayoutTest, CtrlShortcutsReachTheMenusFromEveryTextBox)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const struct
    {
        Qt::Key key;
        QAction* action;
    } shortcuts[] = {
        {Qt::Key_D, Controls(window).mnuSetDefaults},
        {Qt::Key_C, Controls(window).mnuConfirm},
        {Qt::Key_T, Controls(window).mnuTop},
        {Qt::Key_H, Controls(window).mnuHelp},
        {Qt::Key_A, Controls(window).mnuAbout},
    };
    for (QWidget* box : {static_cast<QWidget*>(Controls(window).Text1), static_cast<QWidget*>(Controls(window).TxtUser),
             static_cast<QWidget*>(Controls(window).TxtPassword), static_cast<QWidget*>(Controls(window).TxtURL),
             static_cast<QWidget*>(Controls(window).Combo2), static_cast<QWidget*>(Controls(window).List1)}) {
        box->setFocus();
        for (const auto& shortcut : shortcuts) {
            ShortcutCatcher catcher;
            shortcut.action->installEventFilter(&catcher);
            QTest::keyClick(QApplication::focusWidget(), shortcut.key, Qt::ControlModifier);
            shortcut.action->removeEventFilter(&catcher);
            EXPECT_EQ(catcher.caught, 1) << box->objectName().toStdString() << " Ctrl+" << char(shortcut.key);
        }
    }
}

} // namespace
