#pragma once

#include "DefaultUserIdFile.h"
#include "EmailList.h"
#include "MainControls.h"
#include "Platform.h"
#include "SiteStore.h"

#include <QMainWindow>

class EmailBox;
class FileFollower;
class QLineEdit;
class SiteListModel;
class WindowOptions;

// The main window (object name FrmSitewarden): the site list, the fields of one entry, the e-mail
// list and their buttons, with the menus of the program. Each command hands the store what the user
// typed and what the window shows, and shows the user what came of it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Start-up: the window placed, the options read, the list, slot 1 and the e-mail list shown, and
    // the files followed.
    void load();
    void focusDescription();

    // The list as the file now holds it, after a follow or a command that found the file changed:
    // the entry the user chose stays chosen while its slot holds it, else nothing is chosen and the
    // boxes are empty. What the user is typing stays; once a command on it has been `refused`, the
    // next goes to the entry as it now stands.
    void keepChosen(const SiteStore::Result& result, bool refused);
    void showKept(const ShownSlot& kept, bool refused);
    // Whether the user is typing into the boxes: what they typed is never overwritten.
    bool typing() const;

    void editDefaultUserId();

    void saveNewEntry();
    void updateShownEntry();
    void eraseSelectedEntry();
    void showSelectedEntry();
    void startNewEntry();

    void copy(const QString& text, bool secret);
    void fillDefaultUserId();

    // The list, slot 1 in the boxes and no line chosen.
    void showList(const SiteList& list);
    void showSlot(const ShownSlot& slot);
    void setBox(QLineEdit* box, const QString& text);
    // Chooses line `row`, which shows what the boxes already show.
    void chooseShownLine(int row);
    SiteEntry typedEntry() const;
    // A beep, and the focus in the field at fault.
    void refuse(SiteEntry::Field field);

    // The keys of the text boxes: menus first, no stray Alt letters, compositions, the password's copies.
    void watchTextBoxes();
    void connectCommands();

    Platform m_platform;
    SiteStore m_sites;
    EmailList m_emails;
    DefaultUserIdFile m_defaultUserId;
    MainControls m_controls;
    SiteListModel* m_siteLines = nullptr;
    WindowOptions* m_options = nullptr;
    EmailBox* m_emailBox = nullptr;
    FileFollower* m_follower = nullptr;
    // The slot the boxes show, and the last entry read for them.
    ShownSlot m_shown;
    SiteEntry m_lastRead;
    bool m_everShown = false;
    // A line chosen by the window, whose entry the boxes show already.
    bool m_choosingShown = false;
};
