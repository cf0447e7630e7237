#include "SiteNames.h"

#include "Gbk.h"
#include "SiteRecord.h"

void SiteNames::reserve(int lines)
{
    m_fields.reserve(qsizetype(lines) * SiteRecord::NameWidth);
}

void SiteNames::append(const char* nameField)
{
    m_fields.append(nameField, SiteRecord::NameWidth);
}

int SiteNames::count() const
{
    return int(m_fields.size() / SiteRecord::NameWidth);
}

QString SiteNames::line(int index) const
{
    if (index < 0 || index >= count()) {
        return {};
    }
    return Gbk::trimBlanks(
        Gbk::decodeField(m_fields.constData() + qsizetype(index) * SiteRecord::NameWidth, SiteRecord::NameWidth));
}

QStringList SiteNames::lines() const
{
    QStringList all;
    all.reserve(count());
    for (int i = 0; i < count(); ++i) {
        all.append(line(i));
    }
    return all;
}
