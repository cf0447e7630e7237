#include "EmailList.h"

#include "Gbk.h"
#include "MessageBox.h"
#include "Sitewarden.h"
#include "StoreView.h"
#include "TextFile.h"

EmailList::EmailList(Sitewarden& module, StoreView& view, MessageBox& messageBox)
    : m_module(module)
    , m_view(view)
    , m_messageBox(messageBox)
{ }

void EmailList::LoadEmailList()
{
    m_view.setEmailItems({});
    QStringList lines;
    TextFile::readLines(m_module.EmailFilePath, lines);
    QStringList items;
    for (const QString& line : lines) {
        QString address = Gbk::trimBlanks(line);
        if (!address.isEmpty()) {
            items.append(std::move(address));
        }
    }
    if (!items.isEmpty()) {
        m_view.setEmailItems(items);
        m_view.setEmailIndex(0);
    }
}

void EmailList::SaveEmailList()
{
    QStringList items = m_view.emailItems();
    items.append(m_view.emailText());
    // The whole list is written beside the old file and takes its place only once complete.
    if (!TextFile::writeLines(m_module.EmailFilePath, items)) {
        m_module.MsgText = QStringLiteral("无法删除电子邮件文件.");
        m_messageBox.show(m_module.MsgText, MessageBox::Critical, QStringLiteral("保存电子邮件出错!"));
    }
    LoadEmailList();
}

void EmailList::RemoveEmail()
{
    QStringList items = m_view.emailItems();
    const int index = m_view.emailIndex();
    if (index >= 0 && index < items.size()) {
        items.removeAt(index);
    }
    // Leaves the edit field empty, so the save appends an empty line rather than the address.
    m_view.setEmailItems(items);
    SaveEmailList();
}
