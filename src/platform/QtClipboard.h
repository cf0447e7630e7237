#pragma once

#include "Clipboard.h"

class QtClipboard : public Clipboard
{
public:
    void clear() override;
    void setText(const QString& text, bool secret) override;
};
