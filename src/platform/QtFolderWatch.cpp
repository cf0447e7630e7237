#include "QtFolderWatch.h"

#include "Posix.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <utility>

QtFolderWatch::QtFolderWatch()
{
    m_burst.setSingleShot(true);
    m_burst.setInterval(50);
    connect(&m_burst, &QTimer::timeout, this, [this] {
        const QList<QByteArray> arrived = std::exchange(m_arrived, {});
        if (m_changed) {
            m_changed(arrived);
        }
    });
}

QtFolderWatch::~QtFolderWatch()
{
    m_notifier.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void QtFolderWatch::watch(const QString& folder, std::function<void(const QList<QByteArray>& arrived)> changed)
{
    m_notifier.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_changed = std::move(changed);
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // A folder reached through /proc/self/fd/N is watched where the link leads.
    if (m_fd < 0 || folder.isEmpty()
        || ::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
               IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB)
            < 0) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &QtFolderWatch::drain);
}

void QtFolderWatch::drain()
{
    alignas(inotify_event) char buffer[4096];
    ssize_t got = 0;
    while ((got = Posix::retried([&] { return ::read(m_fd, buffer, sizeof buffer); })) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && !(event->mask & (IN_DELETE | IN_MOVED_FROM)) && !m_arrived.contains(event->name)) {
                m_arrived.append(QByteArray(event->name));
            }
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
    m_burst.start();
}
