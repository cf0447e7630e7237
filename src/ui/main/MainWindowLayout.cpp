#include "MainWindowLayout.h"

#include "KeyDownClick.h"
#include "Layout.h"
#include "SiteListView.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include <limits>

#include "paste16.xpm"

namespace {

QFont msSansSerif(qreal points, bool underline = false)
{
    return Layout::font(Layout::msSansSerifFamily, points, underline);
}

template<typename Control> Control* place(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

MainControls MainWindowLayout::build(QMainWindow& window)
{
    MainControls controls;
    // The controls keep their design size whatever the desktop's font: the window's geometry is
    // fixed, and a larger font would cut their captions. Larger text comes from scaling the whole
    // window (QT_SCALE_FACTOR).
    window.setFont(Layout::defaultFont());
    // A new line edit lays its text out in the application's font before its own: while the controls
    // are made, that font is the window's, so that no other font is loaded for it.
    const QFont applicationFont = QGuiApplication::font();
    QGuiApplication::setFont(window.font());
    createMenus(window, controls);
    createControls(window, controls);
    QGuiApplication::setFont(applicationFont);
    nameForScreenReaders(controls);
    setTabOrder(controls);
    return controls;
}

void MainWindowLayout::createMenus(QMainWindow& window, MainControls& controls)
{
    QMenuBar* bar = window.menuBar();
    // A fixed window: the menu bar stays in it, whatever the desktop offers.
    bar->setNativeMenuBar(false);

    controls.exit = bar->addAction(QStringLiteral("退出(&X)"));
    controls.exit->setObjectName(QStringLiteral("mnuexit"));

    auto item = [&controls](QMenu* menu, const QString& caption, const char* name, Qt::Key key) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        controls.menuCommands.append(action);
        return action;
    };
    QMenu* options = controls.optionsMenu = bar->addMenu(QStringLiteral("选项(&O)"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    controls.setDefaultUserId
        = item(options, QStringLiteral("设置默认用户 ID (&S)        "), "mnuSetDefaults", Qt::Key_D);
    controls.openWithoutAsking = item(options, QStringLiteral("不确认启动网页(&C)          "), "mnuConfirm", Qt::Key_C);
    controls.openWithoutAsking->setCheckable(true);
    controls.keepOnTop = item(options, QStringLiteral("窗口置顶(&T)         "), "mnuTop", Qt::Key_T);
    controls.keepOnTop->setCheckable(true);

    QMenu* help = controls.helpMenu = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("mnuHelps"));
    controls.help = item(help, QStringLiteral("帮助(&H)"), "mnuHelp", Qt::Key_H);
    controls.about = item(help, QStringLiteral("关于(&A)"), "mnuAbout", Qt::Key_A);
}

void MainWindowLayout::createControls(QMainWindow& window, MainControls& controls)
{
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->resize(ClientWidth, ClientHeight);
    window.setCentralWidget(client);

    const QIcon pastePicture {QPixmap(paste16)};
    auto pictureButton = [&](int index, const QRect& geometry, const QString& tip) {
        auto* button = place(new QPushButton(client), "CmdPaste", geometry);
        button->setProperty("index", index);
        button->setIcon(pastePicture);
        button->setIconSize(QSize(16, 16));
        button->setToolTip(tip);
        return button;
    };
    auto label = [&](int index, const QString& caption, const QRect& geometry) {
        auto* lbl = place(new QLabel(caption, client), "LblNames", geometry);
        lbl->setProperty("index", index);
        lbl->setFont(msSansSerif(9.75));
        // The Chinese glyphs of the fallback font can be wider than the layout allows for; a label
        // grows to the right rather than cut its text (nothing stands to the right of a label).
        const int needed = lbl->fontMetrics().horizontalAdvance(caption.trimmed()) + 1;
        lbl->resize(qMax(geometry.width(), needed), geometry.height());
        controls.labels[index] = lbl;
    };

    // In the order of creation, which is also the stacking order.
    MainControls& c = controls;
    c.updateEntry
        = place(new QPushButton(QStringLiteral("更新(&U)"), client), "Command4", Layout::twips(4560, 1800, 735, 280));
    c.address = place(
        new QLineEdit(QStringLiteral("(输入 - 网址)     "), client), "TxtURL", Layout::twips(2760, 1440, 2535, 285));
    c.address->setFont(msSansSerif(8.25, true));
    c.saveEmail
        = place(new QPushButton(QStringLiteral("保存(&A)"), client), "Command3", Layout::twips(2760, 2880, 735, 280));
    c.saveEmail->setToolTip(QStringLiteral("保存电子邮件地址"));
    c.eraseEmail
        = place(new QPushButton(QStringLiteral("擦除(&R)"), client), "Command2", Layout::twips(3600, 2880, 735, 280));

    c.fillDefaultUserId
        = place(new QPushButton(QStringLiteral("默认(&D)"), client), "CmdPaste", Layout::twips(4220, 570, 900, 270));
    c.fillDefaultUserId->setProperty("index", 3);
    c.fillDefaultUserId->setToolTip(QStringLiteral("粘贴到默认 ID"));
    c.fillDefaultUserId->setFont(Layout::font(Layout::newSongFamily, 9.75));

    c.copyEmail = pictureButton(2, Layout::twips(4920, 2480, 375, 310), QStringLiteral("粘贴到剪贴板"));
    c.eraseEntry
        = place(new QPushButton(QStringLiteral("擦除(&E)"), client), "Command1", Layout::twips(3660, 1810, 735, 280));
    c.saveEntry
        = place(new QPushButton(QStringLiteral("保存(&S) "), client), "CmdAdd", Layout::twips(2760, 1810, 735, 280));
    c.saveEntry->setToolTip(QStringLiteral("保存 ID 及密码      "));
    c.description = place(new QLineEdit(client), "Text1", Layout::twips(120, 240, 2415, 285));

    c.siteList = place(new SiteListView(client), "List1", Layout::twips(120, 840, 2415, 2340));
    c.siteList->setFont(msSansSerif(9.75));
    c.siteList->setSelectionMode(QAbstractItemView::SingleSelection);
    c.siteList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line has the same height, so the view need not measure 32,767 of them, and it lays
    // them out in batches after the first screenful is shown.
    c.siteList->setUniformItemSizes(true);
    c.siteList->setLayoutMode(QListView::Batched);
    c.siteList->setBatchSize(256);

    c.emailBox = place(new QComboBox(client), "Combo2", Layout::twips(2760, 2480, 2175, 315));
    c.emailBox->setEditable(true);
    c.emailBox->setInsertPolicy(QComboBox::NoInsert);
    // The edit field holds what was typed: an address that begins a listed one is not completed.
    c.emailBox->setCompleter(nullptr);
    c.emailBox->setEditText(QStringLiteral("sitewarden@example.org"));

    c.copyPassword = pictureButton(1, Layout::twips(4920, 840, 375, 310), QStringLiteral("粘贴到剪贴板     "));
    c.copyUserId = pictureButton(0, Layout::twips(4920, 240, 375, 310), QStringLiteral("粘贴到剪贴板     "));
    c.password = place(new QLineEdit(QStringLiteral("(输入 - 网站密码)   "), client), "TxtPassword",
        Layout::twips(2760, 840, 2175, 285));
    c.userId = place(new QLineEdit(QStringLiteral("(输入 - 用户名 - ID)    "), client), "TxtUser",
        Layout::twips(2760, 240, 2175, 285));

    label(3, QStringLiteral("网址"), Layout::twips(2760, 1200, 1155, 240));
    label(5, QStringLiteral("输入新的网站描述          "), Layout::twips(120, 0, 2370, 240));
    label(4, QStringLiteral("电子邮件列表         "), Layout::twips(2760, 2240, 915, 240));
    label(2, QStringLiteral("网站"), Layout::twips(120, 600, 930, 240));
    label(1, QStringLiteral("密码"), Layout::twips(2760, 600, 900, 240));
    label(0, QStringLiteral("用户 ID"), Layout::twips(2760, 0, 675, 240));

    // Enter, as Space, presses the focused button, as on the desktop the program comes from.
    auto* keyDownClick = new KeyDownClick(client);
    for (QPushButton* button : client->findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
        button->installEventFilter(keyDownClick);
    }

    // The boxes take text of any length; the record's limits apply only when an entry is written.
    for (QLineEdit* edit : {c.description, c.userId, c.password, c.address, c.emailBox->lineEdit()}) {
        edit->setMaxLength(std::numeric_limits<int>::max());
    }
}

void MainWindowLayout::nameForScreenReaders(const MainControls& c)
{
    // Each label names the control below it.
    const std::pair<int, QWidget*> labelled[]
        = {{5, c.description}, {0, c.userId}, {1, c.password}, {3, c.address}, {2, c.siteList}, {4, c.emailBox}};
    for (const auto& [index, control] : labelled) {
        c.labels[index]->setBuddy(control);
        control->setAccessibleName(c.labels[index]->text().trimmed());
    }
    // The picture buttons have no caption, and their tooltips all read alike.
    c.copyUserId->setAccessibleName(QStringLiteral("复制用户 ID"));
    c.copyPassword->setAccessibleName(QStringLiteral("复制密码"));
    c.copyEmail->setAccessibleName(QStringLiteral("复制电子邮件地址"));
}

void MainWindowLayout::setTabOrder(const MainControls& c)
{
    const QList<QWidget*> order
        = {c.saveEntry, c.eraseEntry, c.description, c.siteList, c.emailBox, c.copyEmail, c.saveEmail, c.eraseEmail,
            c.fillDefaultUserId, c.userId, c.copyUserId, c.password, c.copyPassword, c.address, c.updateEntry};
    for (int i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}
