#pragma once

#include "SiteEntry.h"

#include <QString>

// One row of logins brought in from a CSV file, and what became of it.
struct ImportRow
{
    enum class Outcome {
        Added,
        // All four fields, trimmed, as an entry the file holds, or as a row before it.
        AlreadyHeld,
        // The field named is blank where a save needs it.
        Blank,
        // The field named does not fit its record field in GBK.
        TooLong,
        // The field named holds a character GBK or a record cannot hold.
        NotGbk,
        // The description is the marker of a free slot.
        DeletedMarker,
        // Not a login (a Bitwarden note or card): `kind` says what it is.
        NotLogin,
        // No free slot, and no room for another record.
        Full,
        // The data file could not be written; the import's failure says why.
        Unwritten,
    };

    // The CSV line the row starts on; the header is line 1.
    int line = 0;
    SiteEntry entry;
    Outcome outcome = Outcome::Added;
    SiteEntry::Field field = SiteEntry::Field::None;
    QString kind;

    bool notAdded() const { return outcome != Outcome::Added && outcome != Outcome::AlreadyHeld; }
};
