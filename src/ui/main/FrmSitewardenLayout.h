#pragma once

class FrmSitewarden;

// The main window's fixed layout: the menus, the controls at their places in twips, their fonts,
// the names a screen reader gives them, and the tab order.
class FrmSitewardenLayout
{
public:
    static void build(FrmSitewarden& form);

private:
    static void createMenus(FrmSitewarden& form);
    static void createControls(FrmSitewarden& form);
    static void nameForScreenReaders(FrmSitewarden& form);
    static void setTabOrder(FrmSitewarden& form);
};
