#include "ShownSlot.h"

#include "SiteRecord.h"

SiteEntry ShownSlot::entry() const
{
    return record.size() == SiteRecord::Length ? SiteRecord::entry(record.constData()) : SiteEntry();
}

ShownSlot ShownSlot::ofLine(int line, const QByteArray& listed)
{
    return {line + 1, listed, false, {}};
}

ShownSlot ShownSlot::withRecord(int number, const QByteArray& listed, const QByteArray& record)
{
    return {number, listed, true, record};
}
