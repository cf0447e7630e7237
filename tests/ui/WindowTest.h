#pragma once

#include "MainWindow.h"

#include "QtPrinters.h"
#include "ShownFamily.h"
#include "TestPlatform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>

// A window's controls, found as a screen reader or a test finds them: by their object names. The
// arrays of buttons and labels that share a name tell their members apart by an "index" property.
struct Controls
{
    explicit Controls(const QWidget& window)
    {
        const QWidget* client = window.findChild<QWidget*>(QStringLiteral("client"));
        const QWidget& in = client ? *client : window;
        Text1 = find<QLineEdit>(in, "Text1");
        TxtUser = find<QLineEdit>(in, "TxtUser");
        TxtPassword = find<QLineEdit>(in, "TxtPassword");
        TxtURL = find<QLineEdit>(in, "TxtURL");
        List1 = find<QListView>(in, "List1");
        Combo2 = find<QComboBox>(in, "Combo2");
        CmdAdd = find<QPushButton>(in, "CmdAdd");
        Command1 = find<QPushButton>(in, "Command1");
        Command2 = find<QPushButton>(in, "Command2");
        Command3 = find<QPushButton>(in, "Command3");
        Command4 = find<QPushButton>(in, "Command4");
        for (QPushButton* button : in.findChildren<QPushButton*>(QStringLiteral("CmdPaste"))) {
            CmdPaste.at(button->property("index").toInt()) = button;
        }
        for (QLabel* label : in.findChildren<QLabel*>(QStringLiteral("LblNames"))) {
            LblNames.at(label->property("index").toInt()) = label;
        }
        mnuexit = find<QAction>(window, "mnuexit");
        mnuOptions = find<QMenu>(window, "mnuOptions");
        mnuSetDefaults = find<QAction>(window, "mnuSetDefaults");
        mnuConfirm = find<QAction>(window, "mnuConfirm");
        mnuTop = find<QAction>(window, "mnuTop");
        mnuHelps = find<QMenu>(window, "mnuHelps");
        mnuHelp = find<QAction>(window, "mnuHelp");
        mnuAbout = find<QAction>(window, "mnuAbout");
    }

    template<typename Control> static Control* find(const QObject& in, const char* name)
    {
        return in.findChild<Control*>(QLatin1String(name));
    }

    QLineEdit* Text1;
    QLineEdit* TxtUser;
    QLineEdit* TxtPassword;
    QLineEdit* TxtURL;
    QListView* List1;
    QComboBox* Combo2;
    QPushButton* CmdAdd;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    std::array<QPushButton*, 4> CmdPaste {};
    std::array<QLabel*, 6> LblNames {};
    QAction* mnuexit;
    QMenu* mnuOptions;
    QAction* mnuSetDefaults;
    QAction* mnuConfirm;
    QAction* mnuTop;
    QMenu* mnuHelps;
    QAction* mnuHelp;
    QAction* mnuAbout;
};

// The default user ID dialog's controls.
struct DialogControls
{
    explicit DialogControls(const QWidget& dialog)
        : Text1(Controls::find<QLineEdit>(dialog, "Text1"))
        , Command1(Controls::find<QPushButton>(dialog, "Command1"))
        , Label1(Controls::find<QLabel>(dialog, "Label1"))
        , Label2(Controls::find<QLabel>(dialog, "Label2"))
    { }

    QLineEdit* Text1;
    QPushButton* Command1;
    QLabel* Label1;
    QLabel* Label2;
};

// A main window over a temporary data folder, with every platform service a double.
class WindowTest : public ::testing::Test
{
protected:
    WindowTest() { platform.dataFolder.folder = dir.path(); }

    // Types as an input method does, so that any text (Chinese too) arrives as the user's typing.
    static void typeText(QWidget* widget, const QString& text)
    {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(widget, &commit);
    }

    // Runs the application's event loop after `action`; the loop must end by itself, with
    // exit code 0, within a few seconds.
    template<typename Action> static int runUntilQuit(Action action)
    {
        QTimer::singleShot(0, action);
        QTimer::singleShot(5000, [] { QApplication::exit(99); });
        return QApplication::exec();
    }

    // Every line of List1, as shown.
    static QStringList listLines(const QWidget& window)
    {
        QStringList lines;
        const QAbstractItemModel* model = Controls(window).List1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            lines << model->index(row, 0).data().toString();
        }
        return lines;
    }

    // The line chosen in List1, or -1.
    static int chosenLine(const QWidget& window)
    {
        const QModelIndexList rows = Controls(window).List1->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    int selected() const { return chosenLine(*window); }

    void clickLine(int row) const
    {
        QListView* list = Controls(*window).List1;
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
    }

    // Every item of Combo2, as shown.
    static QStringList emailItems(const QWidget& window)
    {
        QStringList items;
        const QComboBox* box = Controls(window).Combo2;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        return items;
    }

    // The dialog the window has open, once it is up.
    static QWidget* openDialog(const QWidget& window)
    {
        return window.findChild<QWidget*>(QStringLiteral("frmDefault"));
    }

    QString dataFile(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
    TestPlatform platform;
    // The window under test, where the test keeps one.
    std::unique_ptr<MainWindow> window;
};
