#include "SiteListRead.h"

#include "SiteRecord.h"
#include "Sitewarden.h"

SiteListRead::SiteListRead(const QString& path, qint64 uncounted)
    : path(path)
    , uncounted(uncounted)
{ }

void SiteListRead::read()
{
    file.open(path, RecordFile::Access::Read);
    // A file longer than the 16-bit count still lists its first 32,767 slots: saving into it
    // fails with its message, but what it holds stays in view.
    counted = file.countAll(count);
    const qint64 records = counted ? qMin<qint64>(count, Sitewarden::MaxRecords) : uncounted;
    // One pass over the file, and the list filled in one step: at 32,767 slots a read and a
    // list insert per slot would be felt.
    lines.reserve(int(records));
    file.scan(records, [&](int slot, const char* data) {
        lines.append(data + SiteRecord::NameOffset);
        lastSlot = slot;
        if (slot == records) {
            lastRecord = QByteArray(data, SiteRecord::Length);
        }
        return true;
    });
}
