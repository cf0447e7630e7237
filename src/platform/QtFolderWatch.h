#pragma once

#include "FolderWatch.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// The folder watched through inotify: writes closed, files made, renamed and removed.
class QtFolderWatch : public QObject, public FolderWatch
{
    Q_OBJECT

public:
    QtFolderWatch();
    ~QtFolderWatch() override;

    void watch(const QString& folder, std::function<void(const QList<QByteArray>& arrived)> changed) override;

private:
    void drain();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    // A sync tool's save is several events (a temporary file made, written, renamed): one call for all.
    QTimer m_burst;
    QList<QByteArray> m_arrived;
    std::function<void(const QList<QByteArray>& arrived)> m_changed;
};
