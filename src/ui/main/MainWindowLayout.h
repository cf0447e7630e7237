#pragma once

#include "MainControls.h"

class QMainWindow;

// The main window's fixed layout: the menus, the controls at their places in twips, their fonts,
// the names a screen reader gives them, and the tab order.
class MainWindowLayout
{
public:
    static constexpr int ClientWidth = 360;
    static constexpr int ClientHeight = 222;

    static MainControls build(QMainWindow& window);

private:
    static void createMenus(QMainWindow& window, MainControls& controls);
    static void createControls(QMainWindow& window, MainControls& controls);
    static void nameForScreenReaders(const MainControls& controls);
    static void setTabOrder(const MainControls& controls);
};
