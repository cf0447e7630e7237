#include "LoginImport.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "Gbk.h"
#include "RecordFile.h"
#include "SiteRecord.h"

#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {

// The four fields of an entry as they compare: their GBK bytes without the blanks around them.
void addField(QByteArray& key, QByteArray bytes)
{
    while (bytes.endsWith('\0')) {
        bytes.chop(1);
    }
    bytes = bytes.trimmed();
    key += QByteArray::number(bytes.size()) + ':' + bytes;
}

QByteArray keyOf(const char* data)
{
    QByteArray key;
    int offset = SiteRecord::NameOffset;
    for (const int width :
        {SiteRecord::NameWidth, SiteRecord::UserIdWidth, SiteRecord::PasswordWidth, SiteRecord::UrlWidth}) {
        addField(key, QByteArray(data + offset, width));
        offset += width;
    }
    return key;
}

QByteArray keyOf(const SiteEntry& entry)
{
    QByteArray key;
    for (const QString* text : {&entry.description, &entry.userId, &entry.password, &entry.url}) {
        addField(key, Gbk::encode(*text));
    }
    return key;
}

} // namespace

LoginImport::LoginImport(DataFolder& folder)
    : m_folder(folder)
{ }

LoginImport::Report LoginImport::run(QList<ImportRow> rows, bool write)
{
    Report report;
    m_folder.recover();
    const QString path = m_folder.filePath(QLatin1String(DataFileNames::records));
    RecordFile file;
    qint64 count = 0;
    QSet<QByteArray> held;
    QList<int> free;
    // A trial on a folder without a record file reads it as empty, and makes none.
    const bool none = !write && !path.isEmpty() && !QFileInfo::exists(path);
    if (!none) {
        if (!file.open(path, write ? RecordFile::Access::ReadWrite : RecordFile::Access::Read)
            || (write && file.readOnly()) || !file.count(count)) {
            report.failure = file.failure();
            return report;
        }
        if (count > SiteRecord::MaxRecords) {
            report.failure = FileFailure::at(FileFailure::Step::Count, 0, path);
            return report;
        }
        held.reserve(int(count + rows.size()));
        if (!file.scan(count, [&](int slot, const char* data) {
                if (SiteRecord::isDeletedSlot(data)) {
                    free.append(slot);
                } else {
                    held.insert(keyOf(data));
                }
                return true;
            })) {
            report.failure = file.failure();
            return report;
        }
    }
    QList<std::pair<int, QByteArray>> records;
    QList<int> rowOfRecord;
    for (int i = 0; i < rows.size(); ++i) {
        ImportRow& row = rows[i];
        if (row.outcome != ImportRow::Outcome::Added) {
            continue;
        }
        const QByteArray key = keyOf(row.entry);
        if (held.contains(key)) {
            row.outcome = ImportRow::Outcome::AlreadyHeld;
            continue;
        }
        const int slot = free.isEmpty() ? int(count) + 1 : free.takeFirst();
        if (slot > SiteRecord::MaxRecords) {
            row.outcome = ImportRow::Outcome::Full;
            continue;
        }
        count = qMax<qint64>(count, slot);
        held.insert(key);
        records.append({slot, SiteRecord::bytes(slot, row.entry)});
        rowOfRecord.append(i);
    }
    int written = records.size();
    if (write && !records.isEmpty() && !file.writeRecords(records, written)) {
        report.failure = file.failure();
        for (int r = written; r < rowOfRecord.size(); ++r) {
            rows[rowOfRecord[r]].outcome = ImportRow::Outcome::Unwritten;
        }
    }
    for (const ImportRow& row : std::as_const(rows)) {
        report.added += row.outcome == ImportRow::Outcome::Added;
        report.alreadyHeld += row.outcome == ImportRow::Outcome::AlreadyHeld;
        report.notAdded += row.notAdded();
    }
    report.rows = std::move(rows);
    return report;
}
