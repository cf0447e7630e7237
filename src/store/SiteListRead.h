#pragma once

#include "RecordFile.h"
#include "SiteList.h"

#include <QString>

// One reading of the record file for the list, made while the window is still being built. It
// touches nothing but its own members, so it runs on a thread of its own; the file stays open and
// locked until its owner closes it, so what it read is still what the file holds then.
class SiteListRead
{
public:
    explicit SiteListRead(const QString& path);

    void read();

    const QString path;
    RecordFile file;
    SiteList list;
};
