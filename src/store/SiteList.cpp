#include "SiteList.h"

#include "RecordFile.h"
#include "SiteRecord.h"

SiteList SiteList::read(const RecordFile& file)
{
    SiteList list;
    qint64 count = 0;
    if (!file.count(count)) {
        return list;
    }
    const qint64 records = qMin<qint64>(count, SiteRecord::MaxRecords);
    // One pass over the file, and the list filled in one step: at 32,767 slots a read and a list
    // insert per slot would be felt.
    list.lines.reserve(int(records));
    // Counted, the file is there to be read: slot 1 is shown from it, empty should it hold none.
    list.first.read = true;
    file.scan(records, [&](int slot, const char* data) {
        list.lines.append(data + SiteRecord::NameOffset);
        if (slot == 1) {
            list.first.record = QByteArray(data, SiteRecord::Length);
        }
        return true;
    });
    list.first.listed = list.lines.field(0);
    list.stamp = file.stamp();
    return list;
}
