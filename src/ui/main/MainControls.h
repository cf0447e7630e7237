#pragma once

#include <QList>

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SiteListView;

// The main window's controls, by role. Each keeps the object name the program has always given it
// (in the comment), by which screen readers and tests find it.
struct MainControls
{
    QLineEdit* description = nullptr; // Text1
    SiteListView* siteList = nullptr; // List1
    QLineEdit* userId = nullptr; // TxtUser
    QLineEdit* password = nullptr; // TxtPassword
    QLineEdit* address = nullptr; // TxtURL
    QPushButton* saveEntry = nullptr; // CmdAdd
    QPushButton* eraseEntry = nullptr; // Command1
    QPushButton* updateEntry = nullptr; // Command4
    QComboBox* emailBox = nullptr; // Combo2
    QPushButton* saveEmail = nullptr; // Command3
    QPushButton* eraseEmail = nullptr; // Command2
    QPushButton* copyUserId = nullptr; // CmdPaste, index 0
    QPushButton* copyPassword = nullptr; // CmdPaste, index 1
    QPushButton* copyEmail = nullptr; // CmdPaste, index 2
    QPushButton* fillDefaultUserId = nullptr; // CmdPaste, index 3
    std::array<QLabel*, 6> labels {}; // LblNames, by index

    QAction* exit = nullptr; // mnuexit
    QMenu* optionsMenu = nullptr; // mnuOptions
    QAction* setDefaultUserId = nullptr; // mnuSetDefaults
    QAction* openWithoutAsking = nullptr; // mnuConfirm
    QAction* keepOnTop = nullptr; // mnuTop
    QMenu* helpMenu = nullptr; // mnuHelps
    QAction* help = nullptr; // mnuHelp
    QAction* about = nullptr; // mnuAbout
    // The menu items with a Ctrl key.
    QList<QAction*> menuCommands;
};
