#pragma once

#include "Clipboard.h"

#include <optional>

// Holds what a real clipboard would: nothing after clear(), or one text and its secret mark.
class FakeClipboard : public Clipboard
{
public:
    void clear() override
    {
        ++clears;
        text.reset();
        secret = false;
    }
    void setText(const QString& value, bool isSecret) override
    {
        text = value;
        secret = isSecret;
    }

    std::optional<QString> text;
    bool secret = false;
    int clears = 0;
};
