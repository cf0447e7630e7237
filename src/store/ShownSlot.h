#pragma once

#include "SiteEntry.h"

#include <QByteArray>

// What the window shows of one slot of the record file, handed back with a command on it: the
// description its list line was read with and, once read for the boxes, the whole record. A command
// acts only while the file still holds exactly that.
struct ShownSlot
{
    // The slot of list line `line` (from 0), as the list read it: its description alone.
    static ShownSlot ofLine(int line, const QByteArray& listed);
    // The slot with its whole record, as read for the boxes.
    static ShownSlot withRecord(int number, const QByteArray& listed, const QByteArray& record);

    // Whether it stands for a slot at all: nothing is chosen where it does not.
    bool chosen() const { return number > 0; }
    // Its list line, from 0.
    int line() const { return number - 1; }

    // From 1; 0 for none.
    int number = 0;
    // The 35 bytes of its list line; empty for a slot the list does not have.
    QByteArray listed;
    bool read = false;
    // Its 307 bytes as read; empty past the end of the file.
    QByteArray record;

    // The record's fields without their blanks; empty fields past the end of the file.
    SiteEntry entry() const;
};
