#pragma once

#include "FrmSitewarden.h"

#include "TestPlatform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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

    QString dataFile(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
    TestPlatform platform;
};
