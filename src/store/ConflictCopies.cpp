#include "ConflictCopies.h"

#include "DataFolder.h"
#include "EmailList.h"
#include "SiteStore.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>

namespace {

bool isCopyOf(const QByteArray& entry, const QByteArray& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    const QString base = QRegularExpression::escape(QString::fromLatin1(name.left(dot)));
    const QString extension = QRegularExpression::escape(QString::fromLatin1(name.mid(dot)));
    const QRegularExpression copy(
        QStringLiteral("^%1(?:\\.sync-conflict-[^/]*| \\((?:[^/]* )?conflicted copy[^/]*\\))%2$").arg(base, extension));
    // The parts that tell a copy are ASCII; a name's other bytes (a Dropbox user's) need not be text.
    return copy.match(QString::fromLatin1(entry)).hasMatch();
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
