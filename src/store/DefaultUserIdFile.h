#pragma once

#include <QByteArray>
#include <QString>

class MessageBox;
class ProgramFolder;
class Sitewarden;
class StoreView;

// The default user ID: the first line of a small file beside the program, and the dialog that
// edits it. Reading never reports a failure: a step that fails is skipped. The ID is kept as the
// bytes it was read as, so that closing the dialog without a change writes back what was stored.
class DefaultUserIdFile
{
public:
    DefaultUserIdFile(Sitewarden& module, StoreView& view, MessageBox& messageBox, const ProgramFolder& programFolder);

    void LoadDefaultUserId();
    void EditDefaultUserId();

    // The ID without its blanks; the dialog sets it when the user saves another one.
    QString DefaultUserId;

private:
    Sitewarden& m_module;
    StoreView& m_view;
    MessageBox& m_messageBox;
    const ProgramFolder& m_programFolder;
    // The ID's bytes as read, without blanks.
    QByteArray m_stored;
};
