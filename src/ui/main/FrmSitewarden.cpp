#include "FrmSitewarden.h"

#include "AcceleratorFilter.h"
#include "Beeper.h"
#include "Clipboard.h"
#include "CompositionGuard.h"
#include "FrmSitewardenLayout.h"
#include "Gbk.h"
#include "MenuShortcutFilter.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "SecretSelection.h"
#include "SettingsStore.h"
#include "SiteListModel.h"
#include "UrlOpener.h"
#include "WindowPlacement.h"
#include "frmDefault.h"

#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include <cmath>
#include <limits>

#include "key16.xpm"
#include "key32.xpm"

namespace {

// The address to open, or an empty URL when it is not a web address: a click must never start
// a local program or open a file. A bare host name ("www.example.org") means a web page.
QUrl webAddress(const QString& address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?![0-9])"));
    const QString full = scheme.match(address).hasMatch() ? address : QStringLiteral("http://") + address;
    // Tolerant: a blank, "|", "{}" or a stray "%" in a web address is percent-encoded, not refused.
    const QUrl url(full, QUrl::TolerantMode);
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}

const QString settingsApplication = QStringLiteral("Sitewarden");
const QString settingsSection = QStringLiteral("设置");

} // namespace

FrmSitewarden::FrmSitewarden(const Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , m_platform(platform)
    , m_module(*this, platform.messageBox, platform.beeper)
    , m_emailList(m_module, *this, platform.messageBox)
    , m_defaultUserId(m_module, *this, platform.messageBox, platform.programFolder)
{
    m_module.setProgramFolder(platform.programFolder);
    // The record file is read while the window is built; Form_Load's LoadSiteList shows it.
    m_module.prefetchSiteList(platform.programFolder.filePath(QStringLiteral("Sitewarden2.dta")));
    setObjectName(QStringLiteral("FrmSitewarden"));
    setWindowTitle(QStringLiteral("Sitewarden v2.2"));
    QIcon icon;
    icon.addPixmap(QPixmap(key32));
    icon.addPixmap(QPixmap(key16));
    setWindowIcon(icon);

    FrmSitewardenLayout::build(*this);
    m_siteLines = new SiteListModel(this);
    List1->setModel(m_siteLines);
    watchTextBoxes();
    connectHandlers();
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    // Lay the client area out now: the keep-on-top command measures it before the first show.
    layout()->activate();
    Form_Load();
}

FrmSitewarden::~FrmSitewarden() = default;

void FrmSitewarden::watchTextBoxes()
{
    QList<QKeySequence> menuKeys;
    for (const QAction* command : menuCommands) {
        menuKeys.append(command->shortcut());
    }
    // The shortcuts work whenever the window is active, with or without the menus open.
    addActions(menuCommands);
    auto* menuKeysFirst = new MenuShortcutFilter(menuKeys, this);
    List1->installEventFilter(menuKeysFirst);
    Combo2->installEventFilter(menuKeysFirst);
    auto* accelerators = new AcceleratorFilter(this);
    auto* composition = new CompositionGuard(this);
    for (QLineEdit* edit : {Text1, TxtUser, TxtPassword, TxtURL, Combo2->lineEdit()}) {
        edit->installEventFilter(menuKeysFirst);
        edit->installEventFilter(accelerators);
        // Installed last, it is asked first: a composition holds back even the menus' keys.
        edit->installEventFilter(composition);
    }
    new SecretSelection(TxtPassword);
}

QLineEdit* FrmSitewarden::box(Box box) const
{
    switch (box) {
    case Box::Text1:
        return Text1;
    case Box::TxtUser:
        return TxtUser;
    case Box::TxtPassword:
        return TxtPassword;
    case Box::TxtURL:
        return TxtURL;
    }
    return nullptr;
}

QString FrmSitewarden::boxText(Box which) const
{
    return box(which)->text();
}

void FrmSitewarden::setBoxText(Box which, const QString& text)
{
    // A value longer than its box shows its start: the account's name, the address's host.
    box(which)->setText(text);
    box(which)->setCursorPosition(0);
}

void FrmSitewarden::setSiteList(const SiteNames& lines)
{
    m_siteLines->setNames(lines);
}

void FrmSitewarden::setEmailItems(const QStringList& items)
{
    Combo2->clear();
    Combo2->addItems(items);
    Combo2->setCurrentIndex(-1);
    Combo2->clearEditText();
    m_emailTyped = false;
}

int FrmSitewarden::emailIndex() const
{
    return m_emailTyped ? -1 : Combo2->currentIndex();
}

void FrmSitewarden::setEmailIndex(int index)
{
    Combo2->setCurrentIndex(index);
    Combo2->lineEdit()->setCursorPosition(0);
    m_emailTyped = false;
}

QString FrmSitewarden::emailText() const
{
    return Combo2->currentText();
}

void FrmSitewarden::connectHandlers()
{
    // The handlers invert the check marks themselves, as they do when start-up calls them.
    connect(mnuTop, &QAction::triggered, this, [this](bool checked) {
        mnuTop->setChecked(!checked);
        mnuTop_Click();
    });
    connect(mnuConfirm, &QAction::triggered, this, [this](bool checked) {
        mnuConfirm->setChecked(!checked);
        mnuConfirm_Click();
    });
    connect(mnuSetDefaults, &QAction::triggered, this, &FrmSitewarden::mnuSetDefaults_Click);
    connect(mnuHelp, &QAction::triggered, this, &FrmSitewarden::mnuHelp_Click);
    connect(mnuAbout, &QAction::triggered, this, &FrmSitewarden::mnuAbout_Click);
    connect(mnuexit, &QAction::triggered, this, &FrmSitewarden::mnuexit_Click);
    connect(CmdAdd, &QPushButton::clicked, this, &FrmSitewarden::CmdAdd_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmSitewarden::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmSitewarden::Command1_Click);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedLine() >= 0) {
            List1_Click();
        }
    });
    List1->viewport()->setMouseTracking(true);
    List1->viewport()->installEventFilter(this);
    List1->installEventFilter(this);
    // A click on the line already selected changes no selection, yet shows its entry afresh.
    connect(List1, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == m_lineBeforePress && index.row() == selectedLine()) {
            List1_Click();
        }
    });
    connect(Text1, &QLineEdit::textChanged, this, &FrmSitewarden::Text1_Change);
    for (int index = 0; index < int(CmdPaste.size()); ++index) {
        connect(CmdPaste[index], &QPushButton::clicked, this, [this, index] { CmdPaste_Click(qint16(index)); });
    }
    TxtURL->installEventFilter(this);
    connect(Command3, &QPushButton::clicked, this, &FrmSitewarden::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmSitewarden::Command2_Click);
    connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, [this] { m_emailTyped = true; });
    connect(Combo2, qOverload<int>(&QComboBox::activated), this, [this] { m_emailTyped = false; });
}

void FrmSitewarden::Command3_Click()
{
    const QString address = Gbk::trimBlanks(Combo2->currentText());
    // An address the file's code page cannot hold would come back altered: refuse it like a blank one.
    if (address.isEmpty() || !Gbk::canEncode(address)) {
        m_platform.beeper.beep();
        Combo2->setFocus();
        return;
    }
    m_emailList.SaveEmailList();
}

void FrmSitewarden::Command2_Click()
{
    if (emailIndex() < 0) {
        return;
    }
    m_module.MsgText = QStringLiteral("从列表中删除电子邮件地址?   ");
    m_module.LoopIndex
        = qint16(m_platform.messageBox.show(m_module.MsgText, MessageBox::YesNo, QStringLiteral("删除地址?")));
    if (m_module.LoopIndex == MessageBox::Yes) {
        m_emailList.RemoveEmail();
    }
}

bool FrmSitewarden::readOption(const QString& name) const
{
    const QString text
        = m_platform.settings.getSetting(settingsApplication, settingsSection, name, QStringLiteral("False"));
    // Only the word True means True; any other text must not stop the program from starting.
    return text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

void FrmSitewarden::storeOption(const QString& name, bool value)
{
    const bool stored = m_platform.settings.saveSetting(
        settingsApplication, settingsSection, name, value ? QStringLiteral("True") : QStringLiteral("False"));
    // The choice holds for this run all the same; the user must know it will not outlast it. At
    // start-up the window is not there yet to say so.
    if (!stored && m_shown) {
        m_platform.messageBox.show(
            QStringLiteral("无法保存设置!"), MessageBox::Critical, QStringLiteral("保存设置出错!"));
    }
}

void FrmSitewarden::Form_Load()
{
    NewLine = QStringLiteral("\r\n");
    mnuTop_Click();
    m_module.DataFilePath = m_platform.programFolder.filePath(QStringLiteral("Sitewarden2.dta"));
    m_module.EmailFilePath = m_platform.programFolder.filePath(QStringLiteral("Email.dta"));
    WebSet = readOption(QStringLiteral("WebSet"));
    EnableURL = readOption(QStringLiteral("EnableURL"));
    // The item reads "do not confirm": it is checked exactly when opening an address does not ask.
    mnuConfirm->setChecked(!EnableURL);
    m_module.LoadSiteList();
    m_module.CurrentRecord = 1;
    m_module.ShowCurrentRecord();
    m_emailList.LoadEmailList();
}

void FrmSitewarden::Form_Activate()
{
    Text1->setFocus();
}

void FrmSitewarden::Form_QueryUnload(bool& cancel)
{
    // Every command has written its data already: closing is never refused and writes nothing.
    Q_UNUSED(cancel);
}

void FrmSitewarden::changeEvent(QEvent* event)
{
    // The application's font was set while the window was built, and Qt then keeps it through
    // changes of the desktop's: message boxes and tooltips follow the desktop's font again.
    if (event->type() == QEvent::ThemeChange) {
        QGuiApplication::setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    }
    QMainWindow::changeEvent(event);
}

void FrmSitewarden::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        Form_Activate();
        // Once, over the window: without a folder for the data, nothing typed here would be kept.
        if (const QString problem = m_platform.programFolder.problem(); !problem.isEmpty()) {
            QTimer::singleShot(0, this, [this, problem] {
                m_platform.messageBox.show(problem, MessageBox::Critical, QStringLiteral("数据文件夹出错!"));
            });
        }
    }
}

void FrmSitewarden::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    event->setAccepted(!cancel);
}

void FrmSitewarden::mnuTop_Click()
{
    const QRect screen = m_platform.placement.primaryScreen();
    const QSize client = centralWidget()->size();
    // Rounded to the nearest whole pixel, an exact half to the even neighbour.
    const int x = screen.x() + int(std::nearbyint(double(screen.width()) - (client.width() + 13)));
    const int y = screen.y() + int(std::nearbyint(double(screen.height()) - (client.height() + 50)));
    const int height = client.height() + 46;
    if (mnuTop->isChecked()) {
        m_platform.placement.setWindowPos(this, WindowPlacement::NoTopmost, x, y, client.width(), height,
            WindowPlacement::NoSize | WindowPlacement::NoMove | WindowPlacement::NoActivate
                | WindowPlacement::ShowWindow);
    } else {
        m_platform.placement.setWindowPos(
            this, WindowPlacement::Topmost, x, y, client.width(), height, WindowPlacement::NoSize);
    }
    mnuTop->setChecked(!mnuTop->isChecked());
    WebSet = mnuTop->isChecked();
    storeOption(QStringLiteral("WebSet"), WebSet);
}

bool FrmSitewarden::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TxtURL && event->type() == QEvent::MouseButtonDblClick
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_urlDoubleClicked = true;
    }
    if (watched == TxtURL && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (m_urlDoubleClicked) {
            m_urlDoubleClicked = false;
        } else {
            TxtURL_Click();
        }
    }
    if (watched == List1 && event->type() == QEvent::KeyPress && chooseFirstLine(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    if (watched == List1 && event->type() == QEvent::FocusIn) {
        // After the list's own focus event: a screen reader then names the line the list stands on.
        QTimer::singleShot(0, this, &FrmSitewarden::announceCurrentLine);
    }
    if (watched == List1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_lineBeforePress = selectedLine();
        } else if (event->type() == QEvent::MouseMove) {
            List1_MouseMove();
        } else if (event->type() == QEvent::ToolTip) {
            // The list's tooltip names the selected entry wherever the pointer is over the list.
            const auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(help->globalPos(), List1->toolTip(), List1);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FrmSitewarden::chooseFirstLine(const QKeyEvent* key)
{
    // A list box with no line chosen chooses its first line for the first key that moves in it,
    // rather than the line after the one the focus frame stands on.
    const bool toFirst = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up || key->key() == Qt::Key_Home
        || key->key() == Qt::Key_PageUp;
    if (!toFirst || key->modifiers() != Qt::NoModifier || selectedLine() >= 0 || m_siteLines->rowCount() == 0) {
        return false;
    }
    selectLine(0);
    return true;
}

void FrmSitewarden::announceCurrentLine()
{
    const QModelIndex current = List1->currentIndex();
    if (QAccessible::isActive() && List1->hasFocus() && current.isValid()) {
        QAccessibleEvent focus(List1, QAccessible::Focus);
        focus.setChild(current.row());
        QAccessible::updateAccessibility(&focus);
    }
}

int FrmSitewarden::selectedLine() const
{
    const QModelIndexList rows = List1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FrmSitewarden::selectLine(int row)
{
    if (row < m_siteLines->rowCount()) {
        List1->setCurrentIndex(m_siteLines->index(row));
    }
}

bool FrmSitewarden::refuse(QLineEdit* field, bool blank, int width)
{
    const QString text = Gbk::trimBlanks(field->text());
    if ((blank && text.isEmpty()) || !Gbk::fits(text, width)) {
        m_platform.beeper.beep();
        field->setFocus();
        return true;
    }
    return false;
}

void FrmSitewarden::CmdAdd_Click()
{
    // A description equal to the deleted marker would be a free slot the moment it is stored, and
    // one with a character the code page lacks would be stored altered. A long one is cut to the
    // field, as it always was: the user sees the cut line in the list at once.
    const QString name = Gbk::trimBlanks(Text1->text());
    if (name.isEmpty() || name == SiteRecord::DeletedMarker || !Gbk::canEncode(name)) {
        m_platform.beeper.beep();
        Text1->setFocus();
        return;
    }
    if (refuse(TxtUser, true, SiteRecord::UserIdWidth) || refuse(TxtPassword, true, SiteRecord::PasswordWidth)
        || refuse(TxtURL, false, SiteRecord::UrlWidth)) {
        return;
    }
    m_module.SaveNewSite();
    selectLine(0);
}

void FrmSitewarden::Command4_Click()
{
    if (refuse(TxtUser, false, SiteRecord::UserIdWidth) || refuse(TxtPassword, false, SiteRecord::PasswordWidth)
        || refuse(TxtURL, false, SiteRecord::UrlWidth)) {
        return;
    }
    // With no such record the update would write a nameless one.
    if (m_module.isPastEnd(m_module.CurrentRecord)) {
        m_platform.beeper.beep();
        return;
    }
    m_module.EditMode = true;
    m_module.UpdateRecord();
    m_module.EditMode = false;
}

void FrmSitewarden::Command1_Click()
{
    const int selected = selectedLine();
    if (selected < 0) {
        m_platform.beeper.beep();
        return;
    }
    m_module.MsgText = QStringLiteral("从列表中删除网站?   ");
    m_module.LoopIndex
        = qint16(m_platform.messageBox.show(m_module.MsgText, MessageBox::YesNo, QStringLiteral("删除此网址?")));
    if (m_module.LoopIndex != MessageBox::Yes) {
        return;
    }
    m_module.CurrentRecord = qint16(selected + 1);
    m_module.DeleteCurrentRecord();
    // Read afresh, the list has no line the user chose: the next erase waits for one.
    if (!m_module.listReadAfresh()) {
        m_module.LoadSiteList();
        selectLine(0);
    }
}

void FrmSitewarden::List1_Click()
{
    m_module.CurrentRecord = qint16(selectedLine() + 1);
    m_module.ShowCurrentRecord();
    List1_MouseMove();
}

void FrmSitewarden::List1_MouseMove()
{
    const int selected = selectedLine();
    List1->setToolTip(selected < 0 ? QString() : m_siteLines->index(selected).data().toString());
}

void FrmSitewarden::Text1_Change()
{
    if (!Text1->text().isEmpty()) {
        TxtUser->clear();
        TxtPassword->clear();
        TxtURL->setText(QStringLiteral("http://www."));
    }
}

void FrmSitewarden::showDefaultUserIdDialog()
{
    frmDefault dialog(m_defaultUserId, m_platform.beeper, this);
    dialog.exec();
    // The main window is the program's active window again.
    Form_Activate();
}

void FrmSitewarden::CmdPaste_Click(qint16 Index)
{
    m_platform.clipboard.clear();
    switch (Index) {
    case 0:
        m_platform.clipboard.setText(Gbk::trimBlanks(TxtUser->text()), false);
        break;
    case 1:
        m_platform.clipboard.setText(Gbk::trimBlanks(TxtPassword->text()), true);
        break;
    case 2:
        m_platform.clipboard.setText(Gbk::trimBlanks(Combo2->currentText()), false);
        break;
    case 3:
        m_defaultUserId.LoadDefaultUserId();
        break;
    default:
        break;
    }
}

void FrmSitewarden::TxtURL_Click()
{
    const QString address = Gbk::trimBlanks(TxtURL->text());
    if (address.isEmpty()) {
        m_platform.beeper.beep();
        return;
    }
    // The prefix that typing a new description leaves in the box.
    if (address == QLatin1String("http://www.")) {
        return;
    }
    const QUrl url = webAddress(address);
    if (url.isEmpty()) {
        m_platform.beeper.beep();
        return;
    }
    if (EnableURL
        && m_platform.messageBox.show(QStringLiteral("将要启动浏览器以打开选定的网页?你希望继续吗?"), MessageBox::YesNo,
               QStringLiteral("运行浏览器?"))
            != MessageBox::Yes) {
        return;
    }
    m_platform.urlOpener.open(url.toString(QUrl::FullyEncoded));
}

void FrmSitewarden::mnuSetDefaults_Click()
{
    m_defaultUserId.EditDefaultUserId();
}

void FrmSitewarden::mnuConfirm_Click()
{
    mnuConfirm->setChecked(!mnuConfirm->isChecked());
    EnableURL = !EnableURL;
    // Start-up reads this value back into EnableURL, so it is EnableURL that is stored.
    storeOption(QStringLiteral("EnableURL"), EnableURL);
}

void FrmSitewarden::mnuHelp_Click()
{
    const QString& nl = NewLine;
    m_module.MsgText = QStringLiteral("输入网站的名称,用户ID及密码,然后单击保存.") + nl
        + QStringLiteral("为了找回密码,只要选定网站列表中的名称,密码就会显示在密码框中") + nl + nl
        + QStringLiteral("你可以剪切和粘贴你的密码到网站上,或...你可以使用粘贴按钮.") + nl + nl + nl
        + QStringLiteral("数据文件会以 \".dta\"为扩展名保存到程序文件夹中.") + nl + nl
        + QStringLiteral("你可以输入网址,然后单击它,就会转到该网址.") + nl + nl
        + QStringLiteral("Easy ... right? 享用吧!");
    m_platform.messageBox.show(
        m_module.MsgText, MessageBox::Information | MessageBox::SetForeground, QStringLiteral("帮助!"));
}

void FrmSitewarden::mnuAbout_Click()
{
    const QString& nl = NewLine;
    m_module.MsgText = QStringLiteral("版权所有 (C) Sitewarden 开发者") + nl + nl + QStringLiteral("Sitewarden软件")
        + nl + QStringLiteral("sitewarden@example.org  或  support@example.org") + nl
        + QStringLiteral("http://www.example.org/sitewarden") + nl + nl;
    m_platform.messageBox.show(
        m_module.MsgText, MessageBox::Information | MessageBox::SetForeground, QStringLiteral("关于"));
}

void FrmSitewarden::mnuexit_Click()
{
    close();
}
