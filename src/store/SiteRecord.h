#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One 307-byte slot of the record file: a 16-bit little-endian slot number, then four
// blank-padded GBK text fields.
struct SiteRecord
{
    static constexpr int Length = 307;
    static constexpr int NameWidth = 35;
    static constexpr int UserIdWidth = 35;
    static constexpr int PasswordWidth = 35;
    static constexpr int UrlWidth = 200;
    static inline const QString DeletedMarker = QStringLiteral("(Deleted)");

    qint16 RecNo = 0;
    QString SiteName;
    QString UserId;
    QString Password;
    QString Url;

    static constexpr int NameOffset = 2;

    static SiteRecord fromBytes(const char* data);
    // The description alone, decoded without the other fields.
    static QString nameFromBytes(const char* data);
    // Whether the slot holds the deleted marker, without decoding any other slot's description.
    static bool isDeletedSlot(const char* data);
    QByteArray toBytes() const;
};
