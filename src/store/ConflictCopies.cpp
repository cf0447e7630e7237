#include "ConflictCopies.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "EmailList.h"
#include "SiteStore.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <iterator>
#include <stdio.h>

namespace {

// "Sitewarden2.sync-conflict-20261208-101500-ABCDEF7.dta" (Syncthing), "Sitewarden2 (conflicted copy
// 2026-12-08 101500).dta" (Nextcloud, ownCloud) or "Sitewarden2 (Li's conflicted copy 2026-12-08).dta"
// (Dropbox). Plain comparisons: a pattern compiled for each entry of the folder would cost the start.
bool isCopyOf(const QByteArray& entry, const QByteArray& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray base = name.left(dot);
    const QByteArray extension = name.mid(dot);
    if (!entry.startsWith(base) || !entry.endsWith(extension) || entry.size() < base.size() + extension.size() + 2) {
        return false;
    }
    const QByteArray between = entry.mid(base.size(), entry.size() - base.size() - extension.size());
    if (between.startsWith(".sync-conflict-")) {
        return true;
    }
    if (!between.startsWith(" (") || !between.endsWith(')')) {
        return false;
    }
    const QByteArray note = between.mid(2, between.size() - 3);
    return note.startsWith("conflicted copy") || note.contains(" conflicted copy");
}

QString pathOf(const QString& folder, const QByteArray& entry)
{
    return folder + QLatin1Char('/') + QFile::decodeName(entry);
}

// So that a merged copy is not merged again.
bool setAside(const QString& folder, const QByteArray& entry)
{
    const QByteArray from = QFile::encodeName(folder) + '/' + entry;
    return ::rename(from.constData(), (from + ".merged").constData()) == 0;
}

// The folder's entries, as the file system lists them.
QList<QByteArray> entries(const QString& folder)
{
    QList<QByteArray> found;
    if (DIR* listing = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* entry = ::readdir(listing)) {
            found.append(QByteArray(entry->d_name));
        }
        ::closedir(listing);
    }
    return found;
}

// The copies of `name` among the entries, in byte order.
QList<QByteArray> copiesOf(const QList<QByteArray>& entries, const QByteArray& name)
{
    QList<QByteArray> copies;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(copies),
        [&name](const QByteArray& entry) { return isCopyOf(entry, name); });
    std::sort(copies.begin(), copies.end());
    return copies;
}

} // namespace

QList<QByteArray> ConflictCopies::of(const QString& folder, const QByteArray& name)
{
    return copiesOf(entries(folder), name);
}

bool ConflictCopies::isCopy(const QByteArray& entry)
{
    return isCopyOf(entry, DataFileNames::records) || isCopyOf(entry, DataFileNames::emails);
}

ConflictCopies::Merged ConflictCopies::mergeAll(DataFolder& folder, SiteStore& sites, EmailList& emails)
{
    Merged merged;
    folder.recover();
    const QString here = folder.path();
    const QList<QByteArray> listed = entries(here);
    // Each copy of `name` merged by `merge`, which gives back what failed; a merged copy set aside.
    const auto mergeCopies = [&](const QByteArray& name, const auto& merge) {
        for (const QByteArray& copy : copiesOf(listed, name)) {
            const FileFailure failure = merge(pathOf(here, copy));
            if (failure.failed()) {
                merged.failures.append(failure);
            } else {
                setAside(here, copy);
            }
        }
    };
    mergeCopies(DataFileNames::records,
        [&](const QString& copy) { return sites.mergeCopy(copy, merged.descriptions).failure; });
    mergeCopies(
        DataFileNames::emails, [&](const QString& copy) { return emails.mergeCopy(copy, merged.addresses).failure; });
    return merged;
}
