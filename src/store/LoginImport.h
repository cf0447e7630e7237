#pragma once

#include "FileFailure.h"
#include "ImportRow.h"

#include <QList>

class DataFolder;

// Adds the rows of a CSV file to the record file under one open and one lock: each row whose four
// fields the file holds nowhere goes into the lowest free slot, else at the end, as a save does.
// Nothing the file holds changes, and nothing is cut to fit.
class LoginImport
{
public:
    struct Report
    {
        // Every row with what became of it.
        QList<ImportRow> rows;
        int added = 0;
        int alreadyHeld = 0;
        int notAdded = 0;
        // Why the data file could not be read or written.
        FileFailure failure;
    };

    explicit LoginImport(DataFolder& folder);

    // `write` false: the same report, and the file neither written nor made.
    Report run(QList<ImportRow> rows, bool write);

private:
    DataFolder& m_folder;
};
