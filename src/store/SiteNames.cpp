#include "SiteNames.h"

#include "Gbk.h"
#include "SiteRecord.h"

#include <cstring>

void SiteNames::reserve(int lines)
{
    m_lengths.reserve(qMax(lines, 0));
    m_blockStarts.reserve(qMax(lines, 0) / BlockLines + 1);
    // Room for every field at full width; pages the text never reaches are never touched.
    const qsizetype room = qsizetype(lines) * SiteRecord::NameWidth;
    if (room > m_text.size()) {
        m_text.resize(room);
    }
}

void SiteNames::append(const char* nameField)
{
    // Most of a field is padding: eight blanks are passed over at a time.
    static const char eightBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    int size = SiteRecord::NameWidth;
    while (size >= 8 && std::memcmp(nameField + size - 8, eightBlanks, 8) == 0) {
        size -= 8;
    }
    while (size > 0 && nameField[size - 1] == ' ') {
        --size;
    }
    // A plain copy into room made beforehand: QByteArray::append() per field costs more than
    // the read of the whole file.
    if (m_used + size > m_text.size()) {
        m_text.resize(qMax<qsizetype>(16 * SiteRecord::NameWidth, m_text.size() * 2));
    }
    if (m_lengths.size() % BlockLines == 0) {
        m_blockStarts.append(quint32(m_used));
    }
    std::memcpy(m_text.data() + m_used, nameField, size_t(size));
    m_used += size;
    m_lengths.append(char(size));
}

int SiteNames::count() const
{
    return int(m_lengths.size());
}

const char* SiteNames::text(int index, int& size) const
{
    const int first = index - index % BlockLines;
    qsizetype begin = m_blockStarts.at(index / BlockLines);
    for (int line = first; line < index; ++line) {
        begin += quint8(m_lengths.at(line));
    }
    size = quint8(m_lengths.at(index));
    return m_text.constData() + begin;
}

QString SiteNames::line(int index) const
{
    if (index < 0 || index >= count()) {
        return {};
    }
    int size = 0;
    const char* data = text(index, size);
    // Trailing NULs are dropped only where they end the field, as the record file has them.
    return Gbk::trimBlanks(size == SiteRecord::NameWidth ? Gbk::decodeField(data, size) : Gbk::decode(data, size));
}

QByteArray SiteNames::field(int index) const
{
    if (index < 0 || index >= count()) {
        return {};
    }
    int size = 0;
    const char* data = text(index, size);
    QByteArray field(SiteRecord::NameWidth, ' ');
    std::memcpy(field.data(), data, size_t(size));
    return field;
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
