// libFuzzer target: any bytes as CSV. Each row's fields, written back, read back the same; an import
// writes each row added once, free slots first, and leaves every entry held as it was.
#include "Csv.h"
#include "FuzzFolder.h"
#include "LoginCsv.h"
#include "LoginImport.h"
#include "SiteRecord.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const Csv::Row& row : Csv::parse(input)) {
        QList<QByteArray> written;
        for (const QByteArray& field : row.fields) {
            written << Csv::field(field);
        }
        const QList<Csv::Row> again = Csv::parse(written.join(','));
        if (again.size() != 1 || again.first().fields != row.fields || row.line < 1) {
            std::abort();
        }
    }
    const LoginCsv::Table table = LoginCsv::read(input);
    FuzzFolder folder;
    const QByteArray held = RecordFiles::six();
    const QString path = folder.put("Sitewarden2.dta", held);
    const LoginImport::Report report = LoginImport(folder.folder).run(table.rows, true);
    const QByteArray after = RecordFiles::read(path);
    // The two free slots first, then the end.
    const qsizetype appended = (after.size() - held.size()) / SiteRecord::Length;
    if (report.failure.failed() || report.added != qMin(report.added, 2) + appended) {
        std::abort();
    }
    for (const int slot : {1, 2, 4, 6}) {
        if (RecordFiles::slot(after, slot) != RecordFiles::slot(held, slot)) {
            std::abort();
        }
    }
    return 0;
}
