#pragma once

#include <QString>

// A modal message box addressed by a Windows-style style number: the low nibble picks the
// buttons, the next the icon; the answer is the number of the button pressed.
class MessageBox
{
public:
    enum Style : int {
        OkOnly = 0,
        YesNo = 4,
        Critical = 16,
        Question = 32,
        Information = 64,
        SetForeground = 0x10000,
    };
    enum Answer : int {
        Ok = 1,
        Yes = 6,
        No = 7,
    };

    virtual ~MessageBox() = default;
    virtual int show(const QString& prompt, int style, const QString& title) = 0;
};
