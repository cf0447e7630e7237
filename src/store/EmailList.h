#pragma once

#include <QByteArray>
#include <QList>

class MessageBox;
class Sitewarden;
class StoreView;

// The e-mail address list: the file, one address a line, and the items of Combo2 shown from it.
// The list keeps each address as the bytes it was read as, so a save or an erase writes every
// line it did not add or remove exactly as it found it.
class EmailList
{
public:
    EmailList(Sitewarden& module, StoreView& view, MessageBox& messageBox);

    void LoadEmailList();
    void SaveEmailList();
    void RemoveEmail();

private:
    // Reads the file as it is now. When another copy of the program has changed it since the list
    // was read, the list becomes the file's addresses, so that a save keeps what was saved there.
    // False when the file is there but cannot be read: then nothing may be written over it.
    bool readFileNow(bool& changed);
    // Combo2's items from the list, none selected and the edit field empty.
    void showAddresses();

    Sitewarden& m_module;
    StoreView& m_view;
    MessageBox& m_messageBox;
    // The file's bytes as the list was last read from them.
    QByteArray m_loaded;
    // The addresses Combo2 lists, item by item: the file's non-empty lines without their blanks.
    QList<QByteArray> m_lines;
};
