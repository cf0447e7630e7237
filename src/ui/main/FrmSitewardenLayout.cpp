#include "FrmSitewardenLayout.h"

#include "FrmSitewarden.h"
#include "KeyDownClick.h"
#include "Layout.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
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

void FrmSitewardenLayout::build(FrmSitewarden& form)
{
    // The controls keep their design size whatever the desktop's font: the window's geometry is
    // fixed, and a larger font would cut their captions. Larger text comes from scaling the whole
    // window (QT_SCALE_FACTOR).
    form.setFont(Layout::defaultFont());
    // A new line edit lays its text out in the application's font before its own: while the controls
    // are made, that font is the window's, so that no other font is loaded for it.
    const QFont applicationFont = QGuiApplication::font();
    QGuiApplication::setFont(form.font());
    createMenus(form);
    createControls(form);
    QGuiApplication::setFont(applicationFont);
    nameForScreenReaders(form);
    setTabOrder(form);
}

void FrmSitewardenLayout::createMenus(FrmSitewarden& form)
{
    QMenuBar* bar = form.menuBar();
    // A fixed window: the menu bar stays in it, whatever the desktop offers.
    bar->setNativeMenuBar(false);

    form.mnuexit = bar->addAction(QStringLiteral("退出(&X)"));
    form.mnuexit->setObjectName(QStringLiteral("mnuexit"));

    auto item = [&form](QMenu* menu, const QString& caption, const char* name, Qt::Key key) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        form.menuCommands.append(action);
        return action;
    };
    form.mnuOptions = bar->addMenu(QStringLiteral("选项(&O)"));
    form.mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    form.mnuSetDefaults
        = item(form.mnuOptions, QStringLiteral("设置默认用户 ID (&S)        "), "mnuSetDefaults", Qt::Key_D);
    form.mnuConfirm = item(form.mnuOptions, QStringLiteral("不确认启动网页(&C)          "), "mnuConfirm", Qt::Key_C);
    form.mnuConfirm->setCheckable(true);
    form.mnuTop = item(form.mnuOptions, QStringLiteral("窗口置顶(&T)         "), "mnuTop", Qt::Key_T);
    form.mnuTop->setCheckable(true);

    form.mnuHelps = bar->addMenu(QStringLiteral("帮助(&H)"));
    form.mnuHelps->setObjectName(QStringLiteral("mnuHelps"));
    form.mnuHelp = item(form.mnuHelps, QStringLiteral("帮助(&H)"), "mnuHelp", Qt::Key_H);
    form.mnuAbout = item(form.mnuHelps, QStringLiteral("关于(&A)"), "mnuAbout", Qt::Key_A);
}

void FrmSitewardenLayout::createControls(FrmSitewarden& form)
{
    auto* client = new QWidget(&form);
    client->setObjectName(QStringLiteral("client"));
    client->resize(FrmSitewarden::ClientWidth, FrmSitewarden::ClientHeight);
    form.setCentralWidget(client);

    const QIcon pastePicture {QPixmap(paste16)};
    auto pictureButton = [&](int index, const QRect& geometry, const QString& tip) {
        auto* button = place(new QPushButton(client), "CmdPaste", geometry);
        button->setProperty("index", index);
        button->setIcon(pastePicture);
        button->setIconSize(QSize(16, 16));
        button->setToolTip(tip);
        form.CmdPaste[index] = button;
    };
    auto label = [&](int index, const QString& caption, const QRect& geometry) {
        auto* lbl = place(new QLabel(caption, client), "LblNames", geometry);
        lbl->setProperty("index", index);
        lbl->setFont(msSansSerif(9.75));
        // The Chinese glyphs of the fallback font can be wider than the layout allows for; a label
        // grows to the right rather than cut its text (nothing stands to the right of a label).
        const int needed = lbl->fontMetrics().horizontalAdvance(caption.trimmed()) + 1;
        lbl->resize(qMax(geometry.width(), needed), geometry.height());
        form.LblNames[index] = lbl;
    };

    // In the order of creation, which is also the stacking order.
    form.Command4
        = place(new QPushButton(QStringLiteral("更新(&U)"), client), "Command4", Layout::twips(4560, 1800, 735, 280));
    form.TxtURL = place(
        new QLineEdit(QStringLiteral("(输入 - 网址)     "), client), "TxtURL", Layout::twips(2760, 1440, 2535, 285));
    form.TxtURL->setFont(msSansSerif(8.25, true));
    form.Command3
        = place(new QPushButton(QStringLiteral("保存(&A)"), client), "Command3", Layout::twips(2760, 2880, 735, 280));
    form.Command3->setToolTip(QStringLiteral("保存电子邮件地址"));
    form.Command2
        = place(new QPushButton(QStringLiteral("擦除(&R)"), client), "Command2", Layout::twips(3600, 2880, 735, 280));

    auto* defaultButton
        = place(new QPushButton(QStringLiteral("默认(&D)"), client), "CmdPaste", Layout::twips(4220, 570, 900, 270));
    defaultButton->setProperty("index", 3);
    defaultButton->setToolTip(QStringLiteral("粘贴到默认 ID"));
    defaultButton->setFont(Layout::font(Layout::newSongFamily, 9.75));
    form.CmdPaste[3] = defaultButton;

    pictureButton(2, Layout::twips(4920, 2480, 375, 310), QStringLiteral("粘贴到剪贴板"));
    form.Command1
        = place(new QPushButton(QStringLiteral("擦除(&E)"), client), "Command1", Layout::twips(3660, 1810, 735, 280));
    form.CmdAdd
        = place(new QPushButton(QStringLiteral("保存(&S) "), client), "CmdAdd", Layout::twips(2760, 1810, 735, 280));
    form.CmdAdd->setToolTip(QStringLiteral("保存 ID 及密码      "));
    form.Text1 = place(new QLineEdit(client), "Text1", Layout::twips(120, 240, 2415, 285));

    form.List1 = place(new QListView(client), "List1", Layout::twips(120, 840, 2415, 2340));
    form.List1->setFont(msSansSerif(9.75));
    form.List1->setSelectionMode(QAbstractItemView::SingleSelection);
    form.List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line has the same height, so the view need not measure 32,767 of them, and it lays
    // them out in batches after the first screenful is shown.
    form.List1->setUniformItemSizes(true);
    form.List1->setLayoutMode(QListView::Batched);
    form.List1->setBatchSize(256);

    form.Combo2 = place(new QComboBox(client), "Combo2", Layout::twips(2760, 2480, 2175, 315));
    form.Combo2->setEditable(true);
    form.Combo2->setInsertPolicy(QComboBox::NoInsert);
    // The edit field holds what was typed: an address that begins a listed one is not completed.
    form.Combo2->setCompleter(nullptr);
    form.Combo2->setEditText(QStringLiteral("sitewarden@example.org"));

    pictureButton(1, Layout::twips(4920, 840, 375, 310), QStringLiteral("粘贴到剪贴板     "));
    pictureButton(0, Layout::twips(4920, 240, 375, 310), QStringLiteral("粘贴到剪贴板     "));
    form.TxtPassword = place(new QLineEdit(QStringLiteral("(输入 - 网站密码)   "), client), "TxtPassword",
        Layout::twips(2760, 840, 2175, 285));
    form.TxtUser = place(new QLineEdit(QStringLiteral("(输入 - 用户名 - ID)    "), client), "TxtUser",
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
    for (QLineEdit* edit : {form.Text1, form.TxtUser, form.TxtPassword, form.TxtURL, form.Combo2->lineEdit()}) {
        edit->setMaxLength(std::numeric_limits<int>::max());
    }
}

void FrmSitewardenLayout::nameForScreenReaders(FrmSitewarden& form)
{
    // Each label names the control below it.
    const std::pair<int, QWidget*> labelled[] = {
        {5, form.Text1}, {0, form.TxtUser}, {1, form.TxtPassword}, {3, form.TxtURL}, {2, form.List1}, {4, form.Combo2}};
    for (const auto& [index, control] : labelled) {
        form.LblNames[index]->setBuddy(control);
        control->setAccessibleName(form.LblNames[index]->text().trimmed());
    }
    // The picture buttons have no caption, and their tooltips all read alike.
    form.CmdPaste[0]->setAccessibleName(QStringLiteral("复制用户 ID"));
    form.CmdPaste[1]->setAccessibleName(QStringLiteral("复制密码"));
    form.CmdPaste[2]->setAccessibleName(QStringLiteral("复制电子邮件地址"));
}

void FrmSitewardenLayout::setTabOrder(FrmSitewarden& form)
{
    const QList<QWidget*> order = {form.CmdAdd, form.Command1, form.Text1, form.List1, form.Combo2, form.CmdPaste[2],
        form.Command3, form.Command2, form.CmdPaste[3], form.TxtUser, form.CmdPaste[0], form.TxtPassword,
        form.CmdPaste[1], form.TxtURL, form.Command4};
    for (int i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}
