#pragma once

#include "MessageBox.h"

class QtMessageBox : public MessageBox
{
public:
    int show(const QString& prompt, int style, const QString& title) override;
};
