#pragma once

#include "FrmSitewarden.h"

#include "QtPrinters.h"
#include "ShownFamily.h"
#include "TestPlatform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// A main window over a temporary program folder, with every platform service a double.
class WindowTest : public ::testing::Test
{
protected:
    WindowTest() { platform.programFolder.folder = dir.path(); }

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
    static QStringList listLines(const FrmSitewarden& window)
    {
        QStringList lines;
        const QAbstractItemModel* model = window.List1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            lines << model->index(row, 0).data().toString();
        }
        return lines;
    }

    // Every item of Combo2, as shown.
    static QStringList emailItems(const FrmSitewarden& window)
    {
        QStringList items;
        for (int i = 0; i < window.Combo2->count(); ++i) {
            items << window.Combo2->itemText(i);
        }
        return items;
    }

    QString dataFile(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
    TestPlatform platform;
};
