#pragma once

#include "SiteEntry.h"

#include <QByteArray>

// What the window shows of one slot of the record file, handed back with a command on it: the
// description its list line was read with and, once read for the boxes, the whole record. A command
// acts only while the file still holds exactly that.
struct ShownSlot
{
    int number = 0;
    // The 35 bytes of its list line; empty for a slot the list does not have.
    QByteArray listed;
    bool read = false;
    // Its 307 bytes as read; empty past the end of the file.
    QByteArray record;

    // The record's fields without their blanks; empty fields past the end of the file.
    SiteEntry entry() const;
};
