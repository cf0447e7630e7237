#pragma once

#include "DefaultUserIdFile.h"
#include "EmailList.h"
#include "Platform.h"
#include "Sitewarden.h"
#include "StoreView.h"

#include <QMainWindow>

#include <array>

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class SiteListModel;

// The main window: a fixed layout of the site list, the fields of one entry, the e-mail list
// and their buttons, with the menus of the program.
class FrmSitewarden : public QMainWindow, public StoreView
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 360;
    static constexpr int ClientHeight = 222;

    explicit FrmSitewarden(const Platform& platform, QWidget* parent = nullptr);
    ~FrmSitewarden() override;

    QString boxText(Box box) const override;
    void setBoxText(Box box, const QString& text) override;
    void setSiteList(const SiteNames& lines) override;
    void setEmailItems(const QStringList& items) override;
    int emailIndex() const override;
    void setEmailIndex(int index) override;
    QString emailText() const override;
    void showDefaultUserIdDialog() override;

    Sitewarden& module() { return m_module; }
    EmailList& emailList() { return m_emailList; }
    DefaultUserIdFile& defaultUserId() { return m_defaultUserId; }

    // Handlers, named after the control and the event they serve.
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void mnuTop_Click();
    void CmdAdd_Click();
    void Command4_Click();
    void Command1_Click();
    void List1_Click();
    void List1_MouseMove();
    void Text1_Change();
    void CmdPaste_Click(qint16 Index);
    void TxtURL_Click();
    void mnuSetDefaults_Click();
    void mnuConfirm_Click();
    void mnuHelp_Click();
    void mnuAbout_Click();
    void mnuexit_Click();
    void Command3_Click();
    void Command2_Click();

    // Controls, named as the program has always named them.
    QPushButton* Command4 = nullptr;
    QLineEdit* TxtURL = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* CmdAdd = nullptr;
    QLineEdit* Text1 = nullptr;
    QListView* List1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLineEdit* TxtPassword = nullptr;
    QLineEdit* TxtUser = nullptr;
    std::array<QPushButton*, 4> CmdPaste {};
    std::array<QLabel*, 6> LblNames {};

    QAction* mnuexit = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuSetDefaults = nullptr;
    QAction* mnuConfirm = nullptr;
    QAction* mnuTop = nullptr;
    QMenu* mnuHelps = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    // The menu items with a Ctrl key.
    QList<QAction*> menuCommands;

    // CR LF, joining the lines of the help and about texts.
    QString NewLine;
    // The two options: the keep-on-top check mark, and whether opening an address asks first.
    bool WebSet = false;
    bool EnableURL = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool readOption(const QString& name) const;
    // Once the window is up, a value that could not be stored is reported.
    void storeOption(const QString& name, bool value);
    // The keys of the text boxes: menus first, no stray Alt letters, compositions, the password's copies.
    void watchTextBoxes();
    void connectHandlers();
    QLineEdit* box(Box box) const;
    int selectedLine() const;
    bool chooseFirstLine(const QKeyEvent* key);
    void announceCurrentLine();
    void selectLine(int row);
    // A beep and the focus in the field when its text is blank or the record cannot hold it exactly.
    bool refuse(QLineEdit* field, bool blank, int width);

    Platform m_platform;
    Sitewarden m_module;
    EmailList m_emailList;
    DefaultUserIdFile m_defaultUserId;
    SiteListModel* m_siteLines = nullptr;
    // Typing into Combo2's edit field leaves no item selected.
    bool m_emailTyped = false;
    bool m_shown = false;
    int m_lineBeforePress = -1;
    // The release that ends a double click into TxtURL is no click of its own.
    bool m_urlDoubleClicked = false;
};
