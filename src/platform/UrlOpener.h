#pragma once

#include <QString>

// Hands an address to the user's default handler for it.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QString& address) = 0;
};
