#include "MainWindow.h"

#include "AcceleratorFilter.h"
#include "AddressLauncher.h"
#include "Beeper.h"
#include "Clipboard.h"
#include "CompositionGuard.h"
#include "DataFolder.h"
#include "DefaultUserIdDialog.h"
#include "EmailBox.h"
#include "FailureReport.h"
#include "FileFollower.h"
#include "Gbk.h"
#include "HelpBoxes.h"
#include "LoginDrop.h"
#include "MainWindowLayout.h"
#include "MenuShortcutFilter.h"
#include "MessageBox.h"
#include "SecretSelection.h"
#include "SiteListModel.h"
#include "SiteListView.h"
#include "Version.h"
#include "WindowOptions.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "key16.xpm"
#include "key32.xpm"

namespace {

using Outcome = SiteStore::Result::Outcome;

const QString fileErrorTitle = QStringLiteral("文件错误!");
const QString updateFailed = QStringLiteral("文件更新错误!");

} // namespace

MainWindow::MainWindow(const Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , m_platform(platform)
    , m_sites(platform.dataFolder)
    , m_emails(platform.dataFolder)
    , m_defaultUserId(platform.dataFolder)
{
    // The record file is read while the window is built; load() shows it.
    m_sites.prefetch();
    setObjectName(QStringLiteral("FrmSitewarden"));
    setWindowTitle(QStringLiteral("Sitewarden v" SITEWARDEN_VERSION));
    QIcon icon;
    icon.addPixmap(QPixmap(key32));
    icon.addPixmap(QPixmap(key16));
    setWindowIcon(icon);

    m_controls = MainWindowLayout::build(*this);
    m_options = new WindowOptions(*this, m_controls.keepOnTop, m_controls.openWithoutAsking, m_platform);
    m_emailBox = new EmailBox(
        m_controls.emailBox, m_controls.saveEmail, m_controls.eraseEmail, m_emails, m_platform,
        [this] { m_follower->look(true); }, this);
    m_follower = new FileFollower(*this, m_sites, m_emails, m_platform, [this] { return m_shown; });
    m_siteLines = new SiteListModel(this);
    m_controls.siteList->setModel(m_siteLines);
    watchTextBoxes();
    connectCommands();
    resize(MainWindowLayout::ClientWidth, MainWindowLayout::ClientHeight + menuBar()->sizeHint().height());
    // Lay the client area out now: the keep-on-top command measures it before the first show.
    layout()->activate();
    load();
}

MainWindow::~MainWindow() = default;

void MainWindow::watchTextBoxes()
{
    const MainControls& c = m_controls;
    QList<QKeySequence> menuKeys;
    for (const QAction* command : c.menuCommands) {
        menuKeys.append(command->shortcut());
    }
    // The shortcuts work whenever the window is active, with or without the menus open.
    addActions(c.menuCommands);
    auto* menuKeysFirst = new MenuShortcutFilter(menuKeys, this);
    c.siteList->installEventFilter(menuKeysFirst);
    c.emailBox->installEventFilter(menuKeysFirst);
    auto* accelerators = new AcceleratorFilter(this);
    auto* composition = new CompositionGuard(this);
    // The list takes an input method's characters too.
    c.siteList->installEventFilter(composition);
    for (QLineEdit* edit : {c.description, c.userId, c.password, c.address, c.emailBox->lineEdit()}) {
        edit->installEventFilter(menuKeysFirst);
        edit->installEventFilter(accelerators);
        // Installed last, it is asked first: a composition holds back even the menus' keys.
        edit->installEventFilter(composition);
    }
    new SecretSelection(c.password);
}

void MainWindow::connectCommands()
{
    const MainControls& c = m_controls;
    connect(c.setDefaultUserId, &QAction::triggered, this, &MainWindow::editDefaultUserId);
    connect(c.help, &QAction::triggered, this, [this] { HelpBoxes::showHelp(m_platform.messageBox); });
    connect(c.about, &QAction::triggered, this, [this] { HelpBoxes::showAbout(m_platform.messageBox); });
    connect(c.exit, &QAction::triggered, this, &MainWindow::close);
    connect(c.saveEntry, &QPushButton::clicked, this, &MainWindow::saveNewEntry);
    connect(c.updateEntry, &QPushButton::clicked, this, &MainWindow::updateShownEntry);
    connect(c.eraseEntry, &QPushButton::clicked, this, &MainWindow::eraseSelectedEntry);
    connect(c.siteList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_controls.siteList->chosenLine() >= 0 && !m_choosingShown) {
            showSelectedEntry();
        }
    });
    // A click on the line already chosen changes no selection, yet shows its entry afresh.
    connect(c.siteList, &SiteListView::chosenLineClicked, this, &MainWindow::showSelectedEntry);
    connect(c.description, &QLineEdit::textChanged, this, &MainWindow::startNewEntry);
    connect(c.copyUserId, &QPushButton::clicked, this, [this] { copy(m_controls.userId->text(), false); });
    connect(c.copyPassword, &QPushButton::clicked, this, [this] { copy(m_controls.password->text(), true); });
    connect(c.copyEmail, &QPushButton::clicked, this, [this] { copy(m_controls.emailBox->currentText(), false); });
    connect(c.fillDefaultUserId, &QPushButton::clicked, this, &MainWindow::fillDefaultUserId);
    new AddressLauncher(
        c.address, m_platform, [this] { return m_options->askBeforeOpening(); }, this);
    connect(m_follower, &FileFollower::sitesFollowed, this, &MainWindow::keepChosen);
    connect(m_follower, &FileFollower::emailsFollowed, m_emailBox, &EmailBox::follow);
    new LoginDrop(*this, m_platform, [this] { m_follower->look(false); });
}

void MainWindow::load()
{
    m_options->load();
    showList(m_sites.list());
    m_emailBox->load();
    m_follower->start();
}

bool MainWindow::typing() const
{
    const MainControls& c = m_controls;
    return !c.description->text().isEmpty() || c.userId->isModified() || c.password->isModified()
        || c.address->isModified();
}

void MainWindow::keepChosen(const SiteStore::Result& result, bool refused)
{
    const ShownSlot& kept = result.shown;
    const bool lineChosen = m_controls.siteList->chosenLine() >= 0;
    if (!kept.chosen() && lineChosen) {
        // While the line is still there, so that a screen reader hears that it is no longer chosen.
        m_controls.siteList->selectionModel()->clear();
    }
    m_siteLines->setNames(result.fresh->lines);
    if (kept.chosen() && lineChosen) {
        chooseShownLine(kept.line());
    }
    // Done: the entry shown is as it was, and the boxes (the caret in them too) stay as they are.
    if (result.outcome == Outcome::Stale) {
        m_platform.beeper.beep();
        showKept(kept, refused);
    }
    m_controls.siteList->updateTip();
}

void MainWindow::showKept(const ShownSlot& kept, bool refused)
{
    if (!typing()) {
        // A slot that is gone leaves the boxes empty.
        m_lastRead = {};
        showSlot(kept);
        return;
    }
    // What is typed stays. A command on the changed entry is refused once; once that is heard, the
    // next one goes to the entry as it now stands, the file's values in the boxes nobody typed into
    // (a new entry's boxes stay as they are).
    if (kept.chosen() && !refused) {
        return;
    }
    m_shown = kept;
    m_lastRead = kept.entry();
    if (kept.chosen() && m_controls.description->text().isEmpty()) {
        for (const auto& [box, value] :
            {std::pair {m_controls.userId, m_lastRead.userId}, std::pair {m_controls.password, m_lastRead.password},
                std::pair {m_controls.address, m_lastRead.url}}) {
            if (!box->isModified()) {
                setBox(box, value);
            }
        }
    }
}

void MainWindow::focusDescription()
{
    m_controls.description->setFocus();
}

void MainWindow::changeEvent(QEvent* event)
{
    // The application's font was set while the window was built, and Qt then keeps it through
    // changes of the desktop's: message boxes and tooltips follow the desktop's font again.
    if (event->type() == QEvent::ThemeChange) {
        QGuiApplication::setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_everShown) {
        m_everShown = true;
        focusDescription();
        // Once, over the window: without a folder for the data, nothing typed here would be kept.
        if (const QString problem = m_platform.dataFolder.problem(); !problem.isEmpty()) {
            QTimer::singleShot(0, this, [this, problem] {
                m_platform.messageBox.show(problem, MessageBox::Critical, QStringLiteral("数据文件夹出错!"));
            });
        }
    }
}

void MainWindow::editDefaultUserId()
{
    // The stored ID, read afresh, also fills the user ID box.
    const QString stored = m_defaultUserId.load();
    setBox(m_controls.userId, stored);
    DefaultUserIdDialog dialog(stored, m_defaultUserId, m_platform.beeper, this);
    // Closed any other way than with its button, the dialog leaves the ID as it was read.
    const QString id = dialog.exec() == QDialog::Accepted ? dialog.id() : stored;
    // The main window is the program's active window again.
    focusDescription();
    const DefaultUserIdFile::Result result = m_defaultUserId.store(id);
    if (result.outcome == DefaultUserIdFile::Result::Outcome::Failed) {
        FailureReport::show(m_platform.messageBox, result.failure, QStringLiteral("无法保存默认用户 ID."),
            QStringLiteral("保存默认用户 ID 出错!"));
    }
}

void MainWindow::chooseShownLine(int row)
{
    if (row < m_siteLines->rowCount()) {
        m_choosingShown = true;
        m_controls.siteList->setCurrentIndex(m_siteLines->index(row));
        m_choosingShown = false;
        m_controls.siteList->updateTip();
    }
}

void MainWindow::setBox(QLineEdit* box, const QString& text)
{
    // A value longer than its box shows its start: the account's name, the address's host.
    box->setText(text);
    box->setCursorPosition(0);
}

void MainWindow::showSlot(const ShownSlot& slot)
{
    m_shown = slot;
    // A slot that could not be read leaves the boxes with the last entry that was.
    if (slot.read) {
        m_lastRead = slot.entry();
    }
    setBox(m_controls.userId, m_lastRead.userId);
    setBox(m_controls.password, m_lastRead.password);
    setBox(m_controls.address, m_lastRead.url);
}

void MainWindow::showList(const SiteList& list)
{
    m_siteLines->setNames(list.lines);
    showSlot(list.first);
}

SiteEntry MainWindow::typedEntry() const
{
    return {m_controls.description->text(), m_controls.userId->text(), m_controls.password->text(),
        m_controls.address->text()};
}

void MainWindow::refuse(SiteEntry::Field field)
{
    m_platform.beeper.beep();
    switch (field) {
    case SiteEntry::Field::Description:
        m_controls.description->setFocus();
        break;
    case SiteEntry::Field::UserId:
        m_controls.userId->setFocus();
        break;
    case SiteEntry::Field::Password:
        m_controls.password->setFocus();
        break;
    case SiteEntry::Field::Url:
        m_controls.address->setFocus();
        break;
    case SiteEntry::Field::None:
        break;
    }
}

void MainWindow::saveNewEntry()
{
    m_follower->look(true);
    const SiteStore::Result result = m_sites.saveNew(typedEntry());
    if (result.outcome == Outcome::Refused) {
        refuse(result.refused);
        return;
    }
    if (result.outcome == Outcome::Failed) {
        // A save looks for a free slot, then appends: where neither could be tried, both say so.
        const bool written = result.failure.step == FileFailure::Step::Write;
        if (!result.appending) {
            FailureReport::show(m_platform.messageBox, result.failure, updateFailed, fileErrorTitle);
        }
        if (!written || result.appending) {
            FailureReport::show(
                m_platform.messageBox, result.failure, QStringLiteral("无法保存文件!"), QStringLiteral("保存出错!"));
        }
    }
    showList(*result.fresh);
    chooseShownLine(0);
}

void MainWindow::updateShownEntry()
{
    if (!m_follower->look(true)) {
        return;
    }
    // The entry the user chose was taken away elsewhere: nothing to write to until a line is chosen.
    if (!m_shown.chosen()) {
        m_platform.beeper.beep();
        return;
    }
    const SiteStore::Result result = m_sites.update(m_shown, typedEntry());
    switch (result.outcome) {
    case Outcome::Refused:
        refuse(result.refused);
        break;
    case Outcome::Failed:
        FailureReport::show(m_platform.messageBox, result.failure, updateFailed, fileErrorTitle);
        break;
    case Outcome::Stale:
        keepChosen(result, true);
        break;
    case Outcome::Done:
        m_shown = result.shown;
        m_lastRead = result.shown.entry();
        break;
    }
}

void MainWindow::eraseSelectedEntry()
{
    if (!m_follower->look(true)) {
        return;
    }
    const int line = m_controls.siteList->chosenLine();
    if (line < 0) {
        m_platform.beeper.beep();
        return;
    }
    if (m_platform.messageBox.show(
            QStringLiteral("从列表中删除网站?   "), MessageBox::YesNo, QStringLiteral("删除此网址?"))
        != MessageBox::Yes) {
        return;
    }
    // The whole record when the boxes show it, else the line alone.
    const ShownSlot shown
        = m_shown.line() == line ? m_shown : ShownSlot::ofLine(line, m_siteLines->names().field(line));
    const SiteStore::Result result = m_sites.erase(shown);
    if (result.outcome == Outcome::Stale) {
        keepChosen(result, true);
        return;
    }
    if (result.outcome == Outcome::Failed) {
        FailureReport::show(m_platform.messageBox, result.failure, QStringLiteral("文件删除出错!"), fileErrorTitle);
    }
    showList(*result.fresh);
    chooseShownLine(0);
}

void MainWindow::showSelectedEntry()
{
    const int line = m_controls.siteList->chosenLine();
    const SiteStore::Result result = m_sites.show(ShownSlot::ofLine(line, m_siteLines->names().field(line)));
    if (result.outcome == Outcome::Stale) {
        keepChosen(result, true);
    } else {
        showSlot(result.shown);
    }
    m_controls.siteList->updateTip();
}

void MainWindow::startNewEntry()
{
    if (!m_controls.description->text().isEmpty()) {
        m_controls.userId->clear();
        m_controls.password->clear();
        m_controls.address->setText(QStringLiteral("http://www."));
    }
}

void MainWindow::copy(const QString& text, bool secret)
{
    m_platform.clipboard.clear();
    m_platform.clipboard.setText(Gbk::trimBlanks(text), secret);
}

void MainWindow::fillDefaultUserId()
{
    // The clipboard is emptied first, as by the buttons beside it, and left so.
    m_platform.clipboard.clear();
    setBox(m_controls.userId, m_defaultUserId.load());
}
