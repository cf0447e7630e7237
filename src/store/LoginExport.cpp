#include "LoginExport.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "LoginCsv.h"
#include "RecordFile.h"
#include "SiteRecord.h"

#include <QFileInfo>

LoginExport::LoginExport(DataFolder& folder)
    : m_folder(folder)
{ }

LoginExport::Result LoginExport::run()
{
    Result result;
    result.csv = LoginCsv::header();
    m_folder.recover();
    const QString path = m_folder.filePath(QLatin1String(DataFileNames::records));
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        return result;
    }
    RecordFile file;
    qint64 count = 0;
    if (!file.open(path, RecordFile::Access::Read) || !file.count(count)) {
        result.failure = file.failure();
        return result;
    }
    const bool scanned = file.scan(qMin<qint64>(count, SiteRecord::MaxRecords), [&](int slot, const char* data) {
        if (SiteRecord::isDeletedSlot(data)) {
            return true;
        }
        const SiteEntry entry = SiteRecord::entry(data);
        result.csv += LoginCsv::row(entry);
        ++result.entries;
        for (const QString* text : {&entry.description, &entry.userId, &entry.password, &entry.url}) {
            if (text->contains(QChar::ReplacementCharacter)) {
                result.undecodable.append({slot, entry.description});
                break;
            }
        }
        return true;
    });
    if (!scanned) {
        result.failure = file.failure();
    }
    return result;
}
