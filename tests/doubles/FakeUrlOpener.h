#pragma once

#include "UrlOpener.h"

#include <QStringList>

class FakeUrlOpener : public UrlOpener
{
public:
    bool open(const QString& address) override
    {
        opened.append(address);
        return true;
    }

    QStringList opened;
};
