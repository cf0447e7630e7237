#pragma once

#include "ImportRow.h"
#include "SiteEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The logins of the CSV files browsers and password keepers write, and the one this program
// writes. Columns are found by their header names, whichever program wrote them; a file that is
// not UTF-8 is GBK, as Excel and WPS save it on a Chinese Windows.
namespace LoginCsv {

struct Table
{
    // Whether the header names a column of a login at all.
    bool recognised = false;
    // Every row after the header, its fields trimmed; a row the record cannot hold as it is
    // carries the reason already.
    QList<ImportRow> rows;
};

Table read(const QByteArray& file);

// The file read, when it can be: `error` says why not. A file far larger than any export of 32,767
// logins (over 16 MiB) is not read at all (EFBIG), so that a wrong file cannot take all memory.
bool load(const QString& path, Table& table, int& error);

// The header names looked for, by field, for a user whose file has none of them.
QString namesLookedFor();

// The host of a web address, without scheme, port or path; empty where there is none.
QString hostOf(const QString& url);

// The header and one row each, as Chrome, Firefox, Bitwarden and KeePassXC all read them.
QByteArray header();
QByteArray row(const SiteEntry& entry);

} // namespace LoginCsv
