#include "DefaultUserIdFile.h"

#include "Gbk.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "Sitewarden.h"
#include "StoreView.h"
#include "TextFile.h"

DefaultUserIdFile::DefaultUserIdFile(
    Sitewarden& module, StoreView& view, MessageBox& messageBox, const ProgramFolder& programFolder)
    : m_module(module)
    , m_view(view)
    , m_messageBox(messageBox)
    , m_programFolder(programFolder)
{ }

void DefaultUserIdFile::LoadDefaultUserId()
{
    m_programFolder.recover();
    m_module.MsgText = m_programFolder.filePath(QStringLiteral("default.dta"));
    QByteArray line;
    TextFile::readFirstLine(m_module.MsgText, line);
    m_stored = Gbk::trimBlanks(line);
    DefaultUserId = Gbk::decode(m_stored.constData(), m_stored.size());
    m_view.setBoxText(StoreView::Box::TxtUser, DefaultUserId);
}

void DefaultUserIdFile::EditDefaultUserId()
{
    m_view.showDefaultUserIdDialog();
    m_programFolder.recover();
    m_module.MsgText = m_programFolder.filePath(QStringLiteral("default.dta"));
    const bool unchanged = DefaultUserId == Gbk::decode(m_stored.constData(), m_stored.size());
    if (unchanged) {
        // Another machine may have stored a newer ID while the dialog was open: the file keeps it.
        QByteArray line;
        TextFile::readFirstLine(m_module.MsgText, line);
        if (Gbk::trimBlanks(line) != m_stored) {
            return;
        }
    }
    const QByteArray id = unchanged ? m_stored : Gbk::encode(DefaultUserId);
    // Written whole beside the old file, so a failure leaves the stored ID as it was.
    if (!TextFile::write(m_module.MsgText, id + QByteArrayLiteral("\r\n"))) {
        m_module.MsgText = QStringLiteral("无法保存默认用户 ID.");
        m_messageBox.show(m_module.MsgText, MessageBox::Critical, QStringLiteral("保存默认用户 ID 出错!"));
    }
}
