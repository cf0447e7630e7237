#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(instanceLog, "sitewarden.instance", QtWarningMsg)

// A hash names the lock and the socket: any folder name fits, blanks, Chinese or long. Empty
// when the user has no runtime folder.
QString basePath(const QByteArray& programFolder)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || programFolder.isEmpty()) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(::getuid()));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(programFolder);
    return runtime + QStringLiteral("/sitewarden-") + QString::fromLatin1(hash.result().toHex().left(32));
}

} // namespace

SingleInstance::SingleInstance(const QByteArray& programFolder, QObject* parent)
    : QObject(parent)
    , m_base(basePath(programFolder))
    , m_socketPath(m_base + QStringLiteral(".socket"))
    , m_lock(m_base + QStringLiteral(".lock"))
{
    // A lock is stale only when its holder is gone, however long it has been held.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server.nextPendingConnection()) {
            peer->deleteLater();
        }
        qCInfo(instanceLog) << "another start asked this copy to show itself";
        emit showRequested();
    });
}

bool SingleInstance::start()
{
    if (m_base.isEmpty()) {
        // Nowhere to meet another copy: run; the record file's own lock still guards the data.
        return true;
    }
    if (m_lock.tryLock(0)) {
        // A copy that was killed leaves its socket behind.
        QLocalServer::removeServer(m_socketPath);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!m_server.listen(m_socketPath)) {
            qCWarning(instanceLog) << "cannot listen for later starts:" << m_server.errorString();
        }
        return true;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        qCWarning(instanceLog) << "cannot take the lock of the running copy; starting all the same";
        return true;
    }
    // The holder may be starting and not yet listening: give it a moment.
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(200)) {
            socket.disconnectFromServer();
            return false;
        }
        QThread::msleep(50);
    }
    qCWarning(instanceLog) << "a running copy does not answer; starting all the same";
    return true;
}
