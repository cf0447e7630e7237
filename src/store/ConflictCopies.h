#pragma once

#include "FileFailure.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class DataFolder;
class EmailList;
class SiteStore;

// The copies that sync tools leave beside a file both machines changed: Syncthing's
// "Sitewarden2.sync-conflict-DATE-TIME-DEVICE.dta", Nextcloud's and ownCloud's "Sitewarden2
// (conflicted copy DATE TIME).dta", Dropbox's "Sitewarden2 (NAME's conflicted copy DATE).dta", and
// the same for Email.dta. Each is merged by adding what the data file lacks, then renamed with
// ".merged" added, never deleted, so that it is not merged twice. The copies are taken in the byte
// order of their names: the same files give the same bytes on every machine.
class ConflictCopies
{
public:
    struct Merged
    {
        QStringList descriptions;
        QStringList addresses;
        QList<FileFailure> failures;
    };

    // The copies of `name` in the folder, in byte order.
    static QList<QByteArray> of(const QString& folder, const QByteArray& name);
    // Whether a folder entry is a copy of a data file a sync tool left.
    static bool isCopy(const QByteArray& entry);
    static Merged mergeAll(DataFolder& folder, SiteStore& sites, EmailList& emails);
};
