#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// One running copy per user and program folder. The first copy holds a lock and listens on a
// Unix socket, both in the user's runtime folder (never beside the data files); a later start
// for the same folder connects, hands over its request to show the window, and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `programFolder`: the canonical path of the program folder, as its bytes.
    explicit SingleInstance(const QByteArray& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is to run; false when a running copy was handed `request()` and asked to
    // show its window. `request` is called only then.
    bool start(const std::function<QByteArray()>& request);

signals:
    void showRequested(const QByteArray& request);

private:
    bool listen();
    void acceptAll();

    QString m_base;
    QByteArray m_socketPath;
    QLockFile m_lock;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
