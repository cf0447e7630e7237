#pragma once

#include "SiteEntry.h"

#include <QByteArray>
#include <QString>

// One 307-byte slot of the record file: a 16-bit little-endian slot number, then four blank-padded
// GBK text fields, the description, user ID and password of 35 bytes each and the address of 200.
namespace SiteRecord {

inline constexpr int Length = 307;
inline constexpr int NameOffset = 2;
inline constexpr int NameWidth = 35;
inline constexpr int UserIdWidth = 35;
inline constexpr int PasswordWidth = 35;
inline constexpr int UrlWidth = 200;
// The slot number is 16 bits and signed: the file holds no more records.
inline constexpr int MaxRecords = 32767;
inline const QString DeletedMarker = QStringLiteral("(Deleted)");

// The fields of a slot's bytes, without their blanks.
SiteEntry entry(const char* data);
// The description alone, decoded without the other fields, blanks and all.
QString name(const char* data);
// Whether the slot holds the deleted marker, without decoding any other slot's description.
bool isDeletedSlot(const char* data);
// The slot's bytes for an entry whose fields are without blanks.
QByteArray bytes(int slot, const SiteEntry& entry);
// A slot's bytes with the slot number given in front.
QByteArray numbered(QByteArray record, int slot);
QByteArray deleted(int slot);

} // namespace SiteRecord
