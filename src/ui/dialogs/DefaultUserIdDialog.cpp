#include "DefaultUserIdDialog.h"

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

DefaultUserIdDialog::DefaultUserIdDialog(
    const QString& stored, const DefaultUserIdFile& file, Beeper& beeper, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint)
    , m_file(file)
    , m_beeper(beeper)
    , m_id(stored)
{
    setObjectName(QStringLiteral("frmDefault"));
    setFixedSize(ClientWidth, ClientHeight);
    setModal(true);
    setFont(Layout::defaultFont());
    setAccessibleName(QStringLiteral("输入默认用户 ID"));

    auto* saveButton = new QPushButton(QStringLiteral("保存(&S)"), this);
    saveButton->setObjectName(QStringLiteral("Command1"));
    saveButton->setGeometry(Layout::twips(3480, 790, 735, 375));
    // Neither Enter nor Esc presses the button.
    saveButton->setAutoDefault(false);
    saveButton->setDefault(false);
    saveButton->installEventFilter(new KeyDownClick(this));

    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("Text1"));
    m_field->setGeometry(Layout::twips(240, 360, 3975, 285));
    m_field->setMaxLength(std::numeric_limits<int>::max());

    auto* hint = new QLabel(QStringLiteral("你最常用的电子邮件地址.              "), this);
    hint->setObjectName(QStringLiteral("Label2"));
    hint->setGeometry(Layout::twips(240, 720, 3015, 255));

    auto* title = new QLabel(QStringLiteral("输入默认用户 ID"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(Layout::twips(240, 120, 4215, 255));
    title->setFont(Layout::font(Layout::msSansSerifFamily, 9.75));
    title->setBuddy(m_field);
    m_field->setAccessibleName(title->text());
    m_field->setAccessibleDescription(hint->text().trimmed());
    m_field->installEventFilter(new AcceleratorFilter(this));
    m_field->installEventFilter(new CompositionGuard(this));

    QWidget::setTabOrder(m_field, saveButton);
    connect(saveButton, &QPushButton::clicked, this, &DefaultUserIdDialog::save);

    m_field->setText(stored);
    m_field->setCursorPosition(0);
    m_field->setFocus();
    raise();
}

void DefaultUserIdDialog::save()
{
    const QString id = Gbk::trimBlanks(m_field->text());
    // A changed ID must be one the file's code page holds, or it would come back altered.
    if (!m_file.canStore(id)) {
        m_beeper.beep();
        m_field->setFocus();
        return;
    }
    m_id = id;
    accept();
}

bool DefaultUserIdDialog::event(QEvent* event)
{
    // In front of the window order whenever it becomes active.
    if (event->type() == QEvent::WindowActivate) {
        raise();
    }
    return QDialog::event(event);
}

void DefaultUserIdDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DefaultUserIdDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    raise();
}
