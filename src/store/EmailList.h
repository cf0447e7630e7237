#pragma once

#include <QByteArray>
#include <QStringList>

class MessageBox;
class Sitewarden;
class StoreView;

// The e-mail address list: the items of Combo2 and the file behind them, one address a line.
class EmailList
{
public:
    EmailList(Sitewarden& module, StoreView& view, MessageBox& messageBox);

    void LoadEmailList();
    void SaveEmailList();
    void RemoveEmail();

private:
    // When another copy of the program has changed the file since the list was read, `items`
    // becomes the file's addresses as they are now, so that a save keeps what was saved there.
    bool takeFileIfChanged(QStringList& items);

    Sitewarden& m_module;
    StoreView& m_view;
    MessageBox& m_messageBox;
    // The file's bytes as the window's list was last built from them.
    QByteArray m_loaded;
};
