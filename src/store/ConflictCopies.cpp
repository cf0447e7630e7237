#include "ConflictCopies.h"

#include "DataFolder.h"
#include "EmailList.h"
#include "SiteStore.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
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

} // namespace

QList<QByteArray> ConflictCopies::of(const QString& folder, const QByteArray& name)
{
    QList<QByteArray> copies;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) {
        return copies;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray found(entry->d_name);
        if (isCopyOf(found, name)) {
            copies.append(found);
        }
    }
    ::closedir(listing);
    std::sort(copies.begin(), copies.end());
    return copies;
}

ConflictCopies::Merged ConflictCopies::mergeAll(DataFolder& folder, SiteStore& sites, EmailList& emails)
{
    Merged merged;
    folder.recover();
    const QString here = folder.path();
    for (const QByteArray& copy : of(here, "Sitewarden2.dta")) {
        const SiteStore::Result result = sites.mergeCopy(pathOf(here, copy), merged.descriptions);
        if (result.failure.failed()) {
            merged.failures.append(result.failure);
        } else {
            setAside(here, copy);
        }
    }
    for (const QByteArray& copy : of(here, "Email.dta")) {
        const EmailList::Result result = emails.mergeCopy(pathOf(here, copy), merged.addresses);
        if (result.failure.failed()) {
            merged.failures.append(result.failure);
        } else {
            setAside(here, copy);
        }
    }
    return merged;
}
