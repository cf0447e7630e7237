#pragma once

#include "UrlOpener.h"

class QtUrlOpener : public UrlOpener
{
public:
    bool open(const QString& address) override;
};
