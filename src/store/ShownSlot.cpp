#include "ShownSlot.h"

#include "SiteRecord.h"

SiteEntry ShownSlot::entry() const
{
    return record.size() == SiteRecord::Length ? SiteRecord::entry(record.constData()) : SiteEntry();
}
