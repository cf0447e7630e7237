#include "SiteRecord.h"

#include "Gbk.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr int UserIdOffset = SiteRecord::NameOffset + SiteRecord::NameWidth;
constexpr int PasswordOffset = UserIdOffset + SiteRecord::UserIdWidth;
constexpr int UrlOffset = PasswordOffset + SiteRecord::PasswordWidth;
static_assert(UrlOffset + SiteRecord::UrlWidth == SiteRecord::Length);

QString field(const char* data, int offset, int width)
{
    return Gbk::trimBlanks(Gbk::decodeField(data + offset, width));
}

} // namespace

namespace SiteRecord {

SiteEntry entry(const char* data)
{
    return {field(data, NameOffset, NameWidth), field(data, UserIdOffset, UserIdWidth),
        field(data, PasswordOffset, PasswordWidth), field(data, UrlOffset, UrlWidth)};
}

QString name(const char* data)
{
    return Gbk::decodeField(data + NameOffset, NameWidth);
}

QByteArray bytes(int slot, const SiteEntry& entry)
{
    QByteArray bytes = numbered(QByteArray(Length, Qt::Uninitialized), slot);
    bytes.replace(NameOffset, NameWidth, Gbk::encodeField(entry.description, NameWidth));
    bytes.replace(UserIdOffset, UserIdWidth, Gbk::encodeField(entry.userId, UserIdWidth));
    bytes.replace(PasswordOffset, PasswordWidth, Gbk::encodeField(entry.password, PasswordWidth));
    bytes.replace(UrlOffset, UrlWidth, Gbk::encodeField(entry.url, UrlWidth));
    return bytes;
}

QByteArray numbered(QByteArray record, int slot)
{
    qToLittleEndian<qint16>(qint16(slot), record.data());
    return record;
}

QByteArray deleted(int slot)
{
    return bytes(slot, {DeletedMarker, {}, {}, {}});
}

bool isDeletedSlot(const char* data)
{
    // Spaces and ASCII decode only from their own bytes in GBK, so a description that reads as
    // the marker starts, after its blanks, with the marker's bytes: most slots fail that at once.
    const char* name = data + NameOffset;
    const char* const end = name + NameWidth;
    while (name < end && *name == ' ') {
        ++name;
    }
    static const QByteArray marker = DeletedMarker.toLatin1();
    if (end - name < marker.size() || std::memcmp(name, marker.constData(), size_t(marker.size())) != 0) {
        return false;
    }
    return Gbk::trimBlanks(SiteRecord::name(data)) == DeletedMarker;
}

} // namespace SiteRecord
