#include "EmailList.h"

#include "Gbk.h"
#include "MessageBox.h"
#include "Sitewarden.h"
#include "StoreView.h"
#include "TextFile.h"

#include <QStringList>

namespace {

QList<QByteArray> addresses(const QByteArray& file)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : TextFile::splitLines(file)) {
        QByteArray address = Gbk::trimBlanks(line);
        if (!address.isEmpty()) {
            lines.append(std::move(address));
        }
    }
    return lines;
}

} // namespace

EmailList::EmailList(Sitewarden& module, StoreView& view, MessageBox& messageBox)
    : m_module(module)
    , m_view(view)
    , m_messageBox(messageBox)
{ }

void EmailList::LoadEmailList()
{
    m_view.setEmailItems({});
    m_module.reachFolder();
    TextFile::readAll(m_module.EmailFilePath, m_loaded);
    m_lines = addresses(m_loaded);
    if (!m_lines.isEmpty()) {
        showAddresses();
        m_view.setEmailIndex(0);
    }
}

void EmailList::showAddresses()
{
    QStringList items;
    items.reserve(m_lines.size());
    for (const QByteArray& line : std::as_const(m_lines)) {
        items.append(Gbk::decode(line.constData(), line.size()));
    }
    m_view.setEmailItems(items);
}

bool EmailList::readFileNow(bool& changed)
{
    changed = false;
    m_module.reachFolder();
    QByteArray now;
    switch (TextFile::readAll(m_module.EmailFilePath, now)) {
    case TextFile::Read::Failed:
        return false;
    case TextFile::Read::Missing:
        // Gone meanwhile: the addresses the window lists are all that is left of them.
        return true;
    case TextFile::Read::Done:
        break;
    }
    if (now != m_loaded) {
        m_loaded = now;
        m_lines = addresses(now);
        changed = true;
    }
    return true;
}

void EmailList::SaveEmailList()
{
    bool changed = false;
    // The whole list is written beside the old file and takes its place only once complete.
    const bool saved = readFileNow(changed)
        && TextFile::write(m_module.EmailFilePath,
            TextFile::joinLines(m_lines) + Gbk::encode(m_view.emailText()) + QByteArrayLiteral("\r\n"));
    if (!saved) {
        m_module.MsgText = QStringLiteral("无法删除电子邮件文件.");
        m_messageBox.show(m_module.MsgText, MessageBox::Critical, QStringLiteral("保存电子邮件出错!"));
    }
    LoadEmailList();
}

void EmailList::RemoveEmail()
{
    const int index = m_view.emailIndex();
    const bool chosen = index >= 0 && index < m_lines.size();
    const QByteArray address = chosen ? m_lines.at(index) : QByteArray();
    bool changed = false;
    readFileNow(changed);
    if (changed) {
        if (chosen) {
            m_lines.removeOne(address);
        }
    } else if (chosen) {
        m_lines.removeAt(index);
    }
    // Leaves the edit field empty, so the save appends an empty line rather than the address.
    showAddresses();
    SaveEmailList();
}
