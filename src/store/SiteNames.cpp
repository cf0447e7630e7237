#include "SiteNames.h"

#include "Gbk.h"
#include "SiteRecord.h"

#include <cstring>

void SiteNames::reserve(int lines)
{
    if (lines > m_count) {
        m_fields.resize(qsizetype(lines) * SiteRecord::NameWidth);
    }
}

void SiteNames::append(const char* nameField)
{
    // A plain copy into room made beforehand: QByteArray::append() per field costs more than
    // the read of the whole file.
    if (qsizetype(m_count + 1) * SiteRecord::NameWidth > m_fields.size()) {
        reserve(qMax(16, m_count * 2));
    }
    std::memcpy(m_fields.data() + qsizetype(m_count) * SiteRecord::NameWidth, nameField, SiteRecord::NameWidth);
    ++m_count;
}

int SiteNames::count() const
{
    return m_count;
}

QString SiteNames::line(int index) const
{
    if (index < 0 || index >= count()) {
        return {};
    }
    return Gbk::trimBlanks(
        Gbk::decodeField(m_fields.constData() + qsizetype(index) * SiteRecord::NameWidth, SiteRecord::NameWidth));
}

QByteArray SiteNames::field(int index) const
{
    if (index < 0 || index >= count()) {
        return {};
    }
    return m_fields.mid(qsizetype(index) * SiteRecord::NameWidth, SiteRecord::NameWidth);
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
