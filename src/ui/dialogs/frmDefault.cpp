#include "frmDefault.h"

#include "AcceleratorFilter.h"
#include "Beeper.h"
#include "CompositionGuard.h"
#include "DefaultUserIdFile.h"
#include "Gbk.h"
#include "KeyDownClick.h"
#include "Layout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

frmDefault::frmDefault(DefaultUserIdFile& defaultUserId, Beeper& beeper, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint)
    , m_defaultUserId(defaultUserId)
    , m_beeper(beeper)
{
    setObjectName(QStringLiteral("frmDefault"));
    setFixedSize(ClientWidth, ClientHeight);
    setModal(true);
    setFont(Layout::defaultFont());
    setAccessibleName(QStringLiteral("输入默认用户 ID"));

    Command1 = new QPushButton(QStringLiteral("保存(&S)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Layout::twips(3480, 790, 735, 375));
    // Neither Enter nor Esc presses the button.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    Command1->installEventFilter(new KeyDownClick(this));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Layout::twips(240, 360, 3975, 285));
    Text1->setMaxLength(std::numeric_limits<int>::max());

    Label2 = new QLabel(QStringLiteral("你最常用的电子邮件地址.              "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(Layout::twips(240, 720, 3015, 255));

    Label1 = new QLabel(QStringLiteral("输入默认用户 ID"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Layout::twips(240, 120, 4215, 255));
    Label1->setFont(Layout::font(Layout::msSansSerifFamily, 9.75));
    Label1->setBuddy(Text1);
    Text1->setAccessibleName(Label1->text());
    Text1->setAccessibleDescription(Label2->text().trimmed());
    Text1->installEventFilter(new AcceleratorFilter(this));
    Text1->installEventFilter(new CompositionGuard(this));

    QWidget::setTabOrder(Text1, Command1);
    connect(Command1, &QPushButton::clicked, this, &frmDefault::Command1_Click);
    Form_Load();
}

void frmDefault::Form_Load()
{
    m_defaultUserId.LoadDefaultUserId();
    Text1->setText(m_defaultUserId.DefaultUserId);
    Text1->setCursorPosition(0);
    Text1->setFocus();
    raise();
}

void frmDefault::Form_Activate()
{
    raise();
}

void frmDefault::Form_Resize()
{
    raise();
}

void frmDefault::Command1_Click()
{
    const QString id = Gbk::trimBlanks(Text1->text());
    // A changed ID must be one the file's code page holds, or it would come back altered; an
    // unchanged one goes back as the bytes it was read as, whatever they are.
    if (id != m_defaultUserId.DefaultUserId && !Gbk::canEncode(id)) {
        m_beeper.beep();
        Text1->setFocus();
        return;
    }
    m_defaultUserId.DefaultUserId = id;
    accept();
}

bool frmDefault::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QDialog::event(event);
}

void frmDefault::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmDefault::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}
