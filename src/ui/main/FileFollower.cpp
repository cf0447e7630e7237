#include "FileFollower.h"

#include "ConflictCopies.h"
#include "DataFolder.h"
#include "EmailList.h"
#include "FailureReport.h"
#include "FolderWatch.h"
#include "MessageBox.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

FileFollower::FileFollower(
    QWidget& window, SiteStore& sites, EmailList& emails, const Platform& platform, std::function<ShownSlot()> shown)
    : QObject(&window)
    , m_window(window)
    , m_sites(sites)
    , m_emails(emails)
    , m_platform(platform)
    , m_shown(std::move(shown))
{ }

void FileFollower::start()
{
    m_platform.folderWatch.watch(
        m_platform.dataFolder.path(), [this](const QList<QByteArray>& arrived) { changed(arrived); });
    m_window.installEventFilter(this);
}

bool FileFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && !m_everShown) {
        m_everShown = true;
        QTimer::singleShot(0, this, [this] { look(false); });
    } else if (event->type() == QEvent::ActivationChange && m_window.isActiveWindow() && m_everShown) {
        // A file system that reports no change (a network share) is looked at as the user comes back.
        look(false);
    }
    return QObject::eventFilter(watched, event);
}

void FileFollower::changed(const QList<QByteArray>& arrived)
{
    const bool copyArrived = std::any_of(arrived.begin(), arrived.end(), ConflictCopies::isCopy);
    lookNow(copyArrived, false);
}

bool FileFollower::look(bool forCommand)
{
    return lookNow(true, forCommand);
}

bool FileFollower::lookNow(bool mergeCopies, bool forCommand)
{
    if (m_looking) {
        m_missed = true;
        return true;
    }
    m_looking = true;
    if (mergeCopies) {
        mergeConflictCopies();
    }
    bool stillShown = true;
    if (m_sites.changed()) {
        const SiteStore::Result result = m_sites.follow(m_shown());
        if (result.outcome != SiteStore::Result::Outcome::Failed) {
            stillShown = result.outcome == SiteStore::Result::Outcome::Done;
            emit sitesFollowed(result, forCommand);
        }
    }
    if (m_emails.changed()) {
        emit emailsFollowed();
    }
    m_looking = false;
    if (std::exchange(m_missed, false)) {
        QTimer::singleShot(0, this, [this] { look(false); });
    }
    return stillShown;
}

void FileFollower::mergeConflictCopies()
{
    const ConflictCopies::Merged merged = ConflictCopies::mergeAll(m_platform.dataFolder, m_sites, m_emails);
    for (const FileFailure& failure : merged.failures) {
        qCWarning(lcFiles).noquote() << "could not merge a conflict copy:" << failure.describe();
    }
    if (merged.descriptions.isEmpty() && merged.addresses.isEmpty()) {
        return;
    }
    // The lines of the box end in CR LF, as the help's do.
    QString text = QStringLiteral("同步工具留下了冲突副本, 其中这些已加回:");
    if (!merged.descriptions.isEmpty()) {
        text += QStringLiteral("\r\n网站: ") + merged.descriptions.join(QStringLiteral(", "));
    }
    if (!merged.addresses.isEmpty()) {
        text += QStringLiteral("\r\n电子邮件地址: ") + merged.addresses.join(QStringLiteral(", "));
    }
    m_platform.messageBox.show(text, MessageBox::Information, QStringLiteral("同步冲突"));
}
