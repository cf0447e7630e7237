#pragma once

#include "RecordFile.h"
#include "SiteNames.h"

#include <QByteArray>
#include <QString>

// One reading of the record file for the list: the file opened, locked and counted, the
// description of every slot, and the bytes of the last slot. It touches nothing but its own
// members, so it can run on a thread of its own; the file stays open and locked until its owner
// closes it, so what it read is still what the file holds then.
class SiteListRead
{
public:
    // `uncounted`: the slots to read when the file cannot be counted.
    SiteListRead(const QString& path, qint64 uncounted);

    void read();

    const QString path;
    const qint64 uncounted;
    RecordFile file;
    bool counted = false;
    qint64 count = 0;
    SiteNames lines;
    // The last slot read, and its bytes when it is the last slot counted.
    int lastSlot = 0;
    QByteArray lastRecord;
};
