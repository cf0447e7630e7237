#include "DefaultUserIdFile.h"

#include "Gbk.h"
#include "ProgramFolder.h"
#include "Sitewarden.h"
#include "StoreView.h"
#include "TextFile.h"

DefaultUserIdFile::DefaultUserIdFile(Sitewarden& module, StoreView& view, const ProgramFolder& programFolder)
    : m_module(module)
    , m_view(view)
    , m_programFolder(programFolder)
{ }

void DefaultUserIdFile::LoadDefaultUserId()
{
    m_module.MsgText = m_programFolder.filePath(QStringLiteral("default.dta"));
    QString line;
    TextFile::readFirstLine(m_module.MsgText, line);
    m_module.DefaultUserId = Gbk::trimBlanks(line);
    m_view.setBoxText(StoreView::Box::TxtUser, m_module.DefaultUserId);
}

void DefaultUserIdFile::EditDefaultUserId()
{
    m_view.showDefaultUserIdDialog();
    m_module.MsgText = m_programFolder.filePath(QStringLiteral("default.dta"));
    // Written whole beside the old file, so a failure leaves the stored ID as it was.
    TextFile::writeLines(m_module.MsgText, {m_module.DefaultUserId});
}
