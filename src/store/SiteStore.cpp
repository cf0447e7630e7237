#include "SiteStore.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "Gbk.h"
#include "RecordFile.h"
#include "SiteListRead.h"
#include "SiteRecord.h"
#include "TextFile.h"

#include <QSet>

#include <system_error>

namespace {

using Outcome = SiteStore::Result::Outcome;
using Field = SiteEntry::Field;

SiteEntry withoutBlanks(const SiteEntry& entry)
{
    return {Gbk::trimBlanks(entry.description), Gbk::trimBlanks(entry.userId), Gbk::trimBlanks(entry.password),
        Gbk::trimBlanks(entry.url)};
}

SiteStore::Result failed(const FileFailure& failure)
{
    SiteStore::Result result;
    result.outcome = Outcome::Failed;
    result.failure = failure;
    return result;
}

} // namespace

SiteStore::SiteStore(DataFolder& folder)
    : m_folder(folder)
{ }

SiteStore::~SiteStore()
{
    takePrefetched();
}

QString SiteStore::path() const
{
    return m_folder.filePath(QLatin1String(DataFileNames::records));
}

void SiteStore::prefetch()
{
    takePrefetched();
    m_folder.recover();
    m_prefetched = std::make_unique<SiteListRead>(path());
    try {
        m_prefetching = std::thread(&SiteListRead::read, m_prefetched.get());
    } catch (const std::system_error&) {
        // No thread to be had: list() reads the file itself.
        m_prefetched.reset();
    }
}

std::unique_ptr<SiteListRead> SiteStore::takePrefetched()
{
    if (m_prefetching.joinable()) {
        m_prefetching.join();
    }
    return std::move(m_prefetched);
}

SiteList SiteStore::list()
{
    std::unique_ptr<SiteListRead> read = takePrefetched();
    m_folder.recover();
    if (!read || read->path != path()) {
        read = std::make_unique<SiteListRead>(path());
        read->read();
    }
    m_stamp = read->list.stamp;
    return std::move(read->list);
}

SiteList SiteStore::freshList(const RecordFile& file)
{
    SiteList list = SiteList::read(file);
    m_stamp = list.stamp;
    return list;
}

bool SiteStore::open(RecordFile& file, Result& result, RecordFile::Access access)
{
    m_folder.recover();
    if (file.open(path(), access)) {
        return true;
    }
    result = failed(file.failure());
    return false;
}

bool SiteStore::stillShows(const ShownSlot& shown, const QByteArray& stored)
{
    return stored.mid(SiteRecord::NameOffset, SiteRecord::NameWidth) == shown.listed
        && (!shown.read || stored == shown.record);
}

ShownSlot SiteStore::kept(const ShownSlot& shown, const QByteArray& stored)
{
    if (stillShows(shown, stored)) {
        return shown;
    }
    // The same description in the same slot is the same entry, whatever else changed in it.
    if (!stored.isEmpty() && stored.mid(SiteRecord::NameOffset, SiteRecord::NameWidth) == shown.listed) {
        return ShownSlot::withRecord(shown.number, shown.listed, stored);
    }
    return {};
}

Field SiteStore::refusal(const SiteEntry& entry, bool isNew)
{
    // A description equal to the deleted marker would be a free slot the moment it is stored, and
    // one with a character the code page lacks would be stored altered. A long one is cut to the
    // field, as it always was: the user sees the cut line in the list at once.
    if (isNew
        && (entry.description.isEmpty() || entry.description == SiteRecord::DeletedMarker
            || !Gbk::canEncode(entry.description))) {
        return Field::Description;
    }
    // The other fields must come back exactly as typed.
    if ((isNew && entry.userId.isEmpty()) || !Gbk::fits(entry.userId, SiteRecord::UserIdWidth)) {
        return Field::UserId;
    }
    if ((isNew && entry.password.isEmpty()) || !Gbk::fits(entry.password, SiteRecord::PasswordWidth)) {
        return Field::Password;
    }
    if (!Gbk::fits(entry.url, SiteRecord::UrlWidth)) {
        return Field::Url;
    }
    return Field::None;
}

SiteStore::Result SiteStore::show(const ShownSlot& line)
{
    Result result;
    RecordFile file;
    QByteArray stored;
    if (open(file, result, RecordFile::Access::Read) && !file.readBytes(line.number, stored)) {
        result = failed(file.failure());
    }
    if (result.outcome == Outcome::Failed) {
        result.shown = line;
    } else if (!line.listed.isEmpty() && !stillShows(line, stored)) {
        // Only a listed line is checked: an empty file still shows its (empty) slot 1.
        result.outcome = Outcome::Stale;
        result.shown = kept(line, stored);
        result.fresh = freshList(file);
    } else {
        result.shown = ShownSlot::withRecord(line.number, line.listed, stored);
    }
    return result;
}

SiteStore::Result SiteStore::saveNew(const SiteEntry& typed)
{
    const SiteEntry entry = withoutBlanks(typed);
    Result result;
    result.refused = refusal(entry, true);
    if (result.refused != Field::None) {
        result.outcome = Outcome::Refused;
        return result;
    }
    RecordFile file;
    if (!open(file, result)) {
        result.fresh = SiteList();
        return result;
    }
    saveInto(file, SiteRecord::bytes(0, entry), result);
    result.fresh = freshList(file);
    return result;
}

void SiteStore::saveInto(RecordFile& file, const QByteArray& record, Result& result)
{
    qint64 count = 0;
    if (file.readOnly() || !file.count(count)) {
        result = failed(file.failure());
        return;
    }
    if (count > SiteRecord::MaxRecords) {
        result = failed(FileFailure::at(FileFailure::Step::Count, 0, path()));
        return;
    }
    int slot = 0;
    const bool scanned = file.scan(count, [&](int at, const char* data) {
        slot = SiteRecord::isDeletedSlot(data) ? at : 0;
        return slot == 0;
    });
    if (!scanned) {
        result = failed(file.failure());
        return;
    }
    result.appending = slot == 0;
    if (result.appending) {
        if (count == SiteRecord::MaxRecords) {
            result = failed(FileFailure::at(FileFailure::Step::Full, 0, path()));
            return;
        }
        slot = int(count) + 1;
    }
    if (!file.writeBytes(slot, SiteRecord::numbered(record, slot))) {
        const bool appending = result.appending;
        result = failed(file.failure());
        result.appending = appending;
    }
}

SiteStore::Result SiteStore::update(const ShownSlot& shown, const SiteEntry& typed)
{
    const SiteEntry entry = withoutBlanks(typed);
    Result result;
    result.refused = refusal(entry, false);
    if (result.refused != Field::None) {
        result.outcome = Outcome::Refused;
        return result;
    }
    RecordFile file;
    if (!open(file, result)) {
        return result;
    }
    // Nothing else changed the file since the window's list: after this write, it still stands for it.
    const bool listStillRead = file.stamp() == m_stamp;
    QByteArray stored;
    if (!file.readBytes(shown.number, stored)) {
        return failed(file.failure());
    }
    // With no such record the update would write a nameless one.
    if (stored.isEmpty()) {
        result.outcome = Outcome::Refused;
        return result;
    }
    if (file.readOnly()) {
        return failed(file.failure());
    }
    if (!stillShows(shown, stored)) {
        result.outcome = Outcome::Stale;
        result.shown = kept(shown, stored);
        result.fresh = freshList(file);
        return result;
    }
    // The description goes back as it was read: bytes GBK cannot decode must not become "?".
    QByteArray bytes = SiteRecord::bytes(shown.number, entry);
    bytes.replace(SiteRecord::NameOffset, SiteRecord::NameWidth, stored.constData() + SiteRecord::NameOffset,
        SiteRecord::NameWidth);
    if (!file.writeBytes(shown.number, bytes)) {
        return failed(file.failure());
    }
    if (listStillRead) {
        m_stamp = file.stamp();
    }
    result.shown = ShownSlot::withRecord(shown.number, shown.listed, bytes);
    return result;
}

SiteStore::Result SiteStore::erase(const ShownSlot& shown)
{
    Result result;
    RecordFile file;
    if (!open(file, result)) {
        result.fresh = SiteList();
        return result;
    }
    QByteArray stored;
    if (file.readOnly() || !file.readBytes(shown.number, stored)) {
        result = failed(file.failure());
    } else if (!stillShows(shown, stored)) {
        result.outcome = Outcome::Stale;
        result.shown = kept(shown, stored);
    } else if (!file.writeBytes(shown.number, SiteRecord::deleted(shown.number))) {
        result = failed(file.failure());
    }
    result.fresh = freshList(file);
    return result;
}

bool SiteStore::changed()
{
    m_folder.recover();
    return FileStamp::of(path()) != m_stamp;
}

SiteStore::Result SiteStore::follow(const ShownSlot& shown)
{
    Result result;
    RecordFile file;
    if (!open(file, result, RecordFile::Access::Read)) {
        return result;
    }
    // With nothing chosen there is nothing to keep.
    QByteArray stored;
    if (shown.chosen()) {
        const bool read = file.readBytes(shown.number, stored);
        result.shown = read ? kept(shown, stored) : ShownSlot();
        if (!read || !stillShows(shown, stored)) {
            result.outcome = Outcome::Stale;
        }
    }
    result.fresh = freshList(file);
    return result;
}

SiteStore::Result SiteStore::mergeCopy(const QString& copyPath, QStringList& added)
{
    QByteArray copied;
    int error = 0;
    if (TextFile::readAll(copyPath, copied, error) != TextFile::Read::Done) {
        return failed(FileFailure::at(FileFailure::Step::Read, error, copyPath));
    }
    Result result;
    RecordFile file;
    qint64 count = 0;
    if (!open(file, result)) {
        return result;
    }
    if (file.readOnly() || !file.count(count)) {
        return failed(file.failure());
    }
    // Every entry the file holds, by its four fields, and its free slots in order.
    QSet<QByteArray> held;
    QList<int> free;
    const qint64 records = qMin<qint64>(count, SiteRecord::MaxRecords);
    if (!file.scan(records, [&](int slot, const char* data) {
            if (SiteRecord::isDeletedSlot(data)) {
                free.append(slot);
            } else {
                held.insert(QByteArray(data + SiteRecord::NameOffset, SiteRecord::Length - SiteRecord::NameOffset));
            }
            return true;
        })) {
        return failed(file.failure());
    }
    for (qsizetype at = 0; at + SiteRecord::Length <= copied.size(); at += SiteRecord::Length) {
        const char* data = copied.constData() + at;
        const QByteArray fields(data + SiteRecord::NameOffset, SiteRecord::Length - SiteRecord::NameOffset);
        if (SiteRecord::isDeletedSlot(data) || held.contains(fields)) {
            continue;
        }
        int slot = free.isEmpty() ? int(count) + 1 : free.takeFirst();
        if (slot > SiteRecord::MaxRecords) {
            return failed(FileFailure::at(FileFailure::Step::Full, 0, path()));
        }
        if (!file.writeBytes(slot, SiteRecord::numbered(QByteArray(data, SiteRecord::Length), slot))) {
            return failed(file.failure());
        }
        count = qMax<qint64>(count, slot);
        held.insert(fields);
        added.append(SiteRecord::entry(data).description);
    }
    return result;
}
