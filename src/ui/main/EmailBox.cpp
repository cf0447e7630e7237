#include "EmailBox.h"

#include "Beeper.h"
#include "EmailList.h"
#include "FailureReport.h"
#include "MessageBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString failed = QStringLiteral("无法删除电子邮件文件.");
const QString failedTitle = QStringLiteral("保存电子邮件出错!");

} // namespace

EmailBox::EmailBox(QComboBox* box, QPushButton* save, QPushButton* erase, EmailList& emails, const Platform& platform,
    std::function<void()> lookAtFiles, QObject* parent)
    : QObject(parent)
    , m_box(box)
    , m_emails(emails)
    , m_platform(platform)
    , m_lookAtFiles(std::move(lookAtFiles))
{
    connect(save, &QPushButton::clicked, this, &EmailBox::save);
    connect(erase, &QPushButton::clicked, this, &EmailBox::erase);
    connect(m_box->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_typed = true;
        m_taken = false;
    });
    connect(m_box, qOverload<int>(&QComboBox::activated), this, [this] {
        m_typed = false;
        m_taken = false;
    });
}

void EmailBox::load()
{
    show(m_emails.load());
}

void EmailBox::show(const QStringList& addresses)
{
    m_box->clear();
    m_box->addItems(addresses);
    m_box->setCurrentIndex(addresses.isEmpty() ? -1 : 0);
    if (addresses.isEmpty()) {
        m_box->clearEditText();
    }
    m_box->lineEdit()->setCursorPosition(0);
    m_typed = false;
    m_taken = false;
}

int EmailBox::chosenIndex() const
{
    return m_typed ? -1 : m_box->currentIndex();
}

void EmailBox::follow()
{
    const QString text = m_box->currentText();
    const bool typed = m_typed;
    const bool chosen = chosenIndex() >= 0;
    const bool taken = m_taken;
    show(m_emails.load());
    if (typed) {
        m_box->setEditText(text);
        m_typed = true;
    } else if (const int kept = chosen ? m_box->findText(text) : -1; kept >= 0) {
        m_box->setCurrentIndex(kept);
    } else {
        m_box->setCurrentIndex(-1);
        m_box->clearEditText();
        m_taken = chosen || taken;
    }
}

void EmailBox::save()
{
    m_lookAtFiles();
    const EmailList::Result result = m_emails.save(m_box->currentText());
    if (result.outcome == EmailList::Result::Outcome::Refused) {
        m_platform.beeper.beep();
        m_box->setFocus();
        return;
    }
    if (result.outcome == EmailList::Result::Outcome::Failed) {
        FailureReport::show(m_platform.messageBox, result.failure, failed, failedTitle);
    }
    show(result.addresses);
}

void EmailBox::erase()
{
    m_lookAtFiles();
    if (chosenIndex() < 0) {
        if (m_taken) {
            m_platform.beeper.beep();
        }
        return;
    }
    if (m_platform.messageBox.show(
            QStringLiteral("从列表中删除电子邮件地址?   "), MessageBox::YesNo, QStringLiteral("删除地址?"))
        != MessageBox::Yes) {
        return;
    }
    const EmailList::Result result = m_emails.erase(chosenIndex());
    if (result.outcome == EmailList::Result::Outcome::Failed) {
        FailureReport::show(m_platform.messageBox, result.failure, failed, failedTitle);
    }
    show(result.addresses);
}
