#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One running copy per user and program folder. The first copy holds a lock and listens on a
// local socket, both in the user's runtime folder (never beside the data files); a later start
// for the same folder asks it to show itself and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `programFolder`: the canonical path of the program folder, as its bytes.
    explicit SingleInstance(const QByteArray& programFolder, QObject* parent = nullptr);

    // True when this copy is to run; false when a running copy was asked to show its window.
    bool start();

signals:
    void showRequested();

private:
    QString m_base;
    QString m_socketPath;
    QLockFile m_lock;
    QLocalServer m_server;
};
