#include "EmailList.h"

#include "Gbk.h"
#include "MessageBox.h"
#include "Sitewarden.h"
#include "StoreView.h"
#include "TextFile.h"

namespace {

QStringList addresses(const QByteArray& file)
{
    QStringList items;
    for (const QString& line : TextFile::splitLines(file)) {
        QString address = Gbk::trimBlanks(line);
        if (!address.isEmpty()) {
            items.append(std::move(address));
        }
    }
    return items;
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
    TextFile::readAll(m_module.EmailFilePath, m_loaded);
    const QStringList items = addresses(m_loaded);
    if (!items.isEmpty()) {
        m_view.setEmailItems(items);
        m_view.setEmailIndex(0);
    }
}

bool EmailList::takeFileIfChanged(QStringList& items)
{
    // A file that cannot be read now tells nothing new: the window's list stands.
    QByteArray now;
    if (!TextFile::readAll(m_module.EmailFilePath, now) || now == m_loaded) {
        return false;
    }
    m_loaded = now;
    items = addresses(now);
    return true;
}

void EmailList::SaveEmailList()
{
    QStringList items = m_view.emailItems();
    takeFileIfChanged(items);
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
    const bool selected = index >= 0 && index < items.size();
    const QString address = selected ? items.at(index) : QString();
    if (takeFileIfChanged(items)) {
        if (selected) {
            items.removeOne(address);
        }
    } else if (selected) {
        items.removeAt(index);
    }
    // Leaves the edit field empty, so the save appends an empty line rather than the address.
    m_view.setEmailItems(items);
    SaveEmailList();
}
