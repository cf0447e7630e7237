#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The descriptions of the record slots, as List1 shows them: one line per slot, in slot order.
// The raw fields are kept without their padding blanks and each line is decoded only when it is
// asked for, so that a list of 32,767 slots costs a copy of its text, not 32,767 strings.
class SiteNames
{
public:
    void reserve(int lines);
    // Copies the 35-byte description field of a record.
    void append(const char* nameField);
    int count() const;
    // The trimmed description of slot `index` + 1.
    QString line(int index) const;
    // The 35 bytes of that slot's description as read; empty for a line the list does not have.
    QByteArray field(int index) const;
    QStringList lines() const;

private:
    const char* text(int index, int& size) const;

    // Lines are found in blocks of this many: where each block's text begins, and each line's length.
    static constexpr int BlockLines = 64;

    // The fields one after another, each without its trailing blanks, and one length byte per
    // field; all shared, so a copy of the list costs nothing.
    QByteArray m_text;
    qsizetype m_used = 0;
    QByteArray m_lengths;
    QList<quint32> m_blockStarts;
};
