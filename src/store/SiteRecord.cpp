#include "SiteRecord.h"

#include "Gbk.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr int NameOffset = SiteRecord::NameOffset;
constexpr int UserIdOffset = NameOffset + SiteRecord::NameWidth;
constexpr int PasswordOffset = UserIdOffset + SiteRecord::UserIdWidth;
constexpr int UrlOffset = PasswordOffset + SiteRecord::PasswordWidth;
static_assert(UrlOffset + SiteRecord::UrlWidth == SiteRecord::Length);

} // namespace

SiteRecord SiteRecord::fromBytes(const char* data)
{
    SiteRecord rec;
    rec.RecNo = qFromLittleEndian<qint16>(data);
    rec.SiteName = Gbk::decodeField(data + NameOffset, NameWidth);
    rec.UserId = Gbk::decodeField(data + UserIdOffset, UserIdWidth);
    rec.Password = Gbk::decodeField(data + PasswordOffset, PasswordWidth);
    rec.Url = Gbk::decodeField(data + UrlOffset, UrlWidth);
    return rec;
}

QString SiteRecord::nameFromBytes(const char* data)
{
    return Gbk::decodeField(data + NameOffset, NameWidth);
}

QByteArray SiteRecord::toBytes() const
{
    QByteArray bytes(Length, Qt::Uninitialized);
    qToLittleEndian<qint16>(RecNo, bytes.data());
    bytes.replace(NameOffset, NameWidth, Gbk::encodeField(SiteName, NameWidth));
    bytes.replace(UserIdOffset, UserIdWidth, Gbk::encodeField(UserId, UserIdWidth));
    bytes.replace(PasswordOffset, PasswordWidth, Gbk::encodeField(Password, PasswordWidth));
    bytes.replace(UrlOffset, UrlWidth, Gbk::encodeField(Url, UrlWidth));
    return bytes;
}

bool SiteRecord::isDeletedSlot(const char* data)
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
    return Gbk::trimBlanks(nameFromBytes(data)) == DeletedMarker;
}
