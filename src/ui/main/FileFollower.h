#pragma once

#include "Platform.h"
#include "ShownSlot.h"
#include "SiteStore.h"

#include <QObject>

#include <functional>

class EmailList;
class QWidget;

// Following the files: what another machine, a sync tool or a restored backup changes in the data
// folder is read in, and the conflict copies sync tools leave are merged (the user told once which
// entries and addresses came back). It looks when the folder reports a change, as the window is
// activated (a network share reports none), once the window is first shown (copies left while the
// program was not running) and before each command. The program's own saves leave the stamps a look
// compares with, so they start nothing. A look never runs inside another, nor while its box is open:
// a change reported meanwhile is looked at once that look ends.
class FileFollower : public QObject
{
    Q_OBJECT

public:
    // `shown`: the slot the window shows, which a look keeps while the file holds it.
    FileFollower(QWidget& window, SiteStore& sites, EmailList& emails, const Platform& platform,
        std::function<ShownSlot()> shown);

    // Watches the folder and the window.
    void start();
    // Looks now. False when the entry shown changed or is gone, and a command on it must not go on.
    bool look(bool forCommand);

signals:
    // The list read afresh, with the slot to keep; `forCommand`: a command on it is refused.
    void sitesFollowed(const SiteStore::Result& result, bool forCommand);
    void emailsFollowed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // After the folder reported a change: copies merged only where one arrived.
    void changed(const QList<QByteArray>& arrived);
    bool lookNow(bool mergeCopies, bool forCommand);
    void mergeConflictCopies();

    QWidget& m_window;
    SiteStore& m_sites;
    EmailList& m_emails;
    Platform m_platform;
    std::function<ShownSlot()> m_shown;
    bool m_everShown = false;
    bool m_looking = false;
    // A change reported while a look was under way, looked at once it ends.
    bool m_missed = false;
};
