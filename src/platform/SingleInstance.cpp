#include "SingleInstance.h"

#include "Posix.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// A folder of the user's own in the temporary folder ($TMPDIR, else /tmp), with a short name.
QByteArray shortFolder()
{
    return QFile::encodeName(QDir::tempPath()) + "/sitewarden-" + QByteArray::number(::getuid());
}

// The socket beside the lock; a runtime folder with a long name leaves no room for it in a socket
// address (108 bytes), so it then lives in the short folder.
QByteArray socketPath(const QString& base)
{
    const QByteArray beside = QFile::encodeName(base + QStringLiteral(".socket"));
    if (base.isEmpty() || beside.size() < qsizetype(sizeof(sockaddr_un::sun_path))) {
        return beside;
    }
    const QString name = base.mid(base.lastIndexOf(QLatin1Char('/')) + 1);
    return shortFolder() + '/' + QFile::encodeName(name) + ".socket";
}

// The socket's folder is the user's alone: the runtime folder is by definition; the short one is
// made so, and anything else found in its place (another user's, a link) is not used.
bool privateFolder(const QByteArray& socket)
{
    if (!socket.startsWith(shortFolder() + '/')) {
        return true;
    }
    const QByteArray folder = Posix::folderOf(socket);
    ::mkdir(folder.constData(), S_IRWXU);
    struct stat info;
    return ::lstat(folder.constData(), &info) == 0 && Posix::ownerOnlyFolder(info);
}

// False when the path does not fit a socket address.
bool socketAddress(const QByteArray& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// A later start's request, read as it comes until the start closes its end. The request is
// small; a start that stalls is still a start, and is answered with what came.
class PeerReader : public QObject
{
public:
    static constexpr qsizetype limit = 4096;
    static constexpr int patience = 2000;

    PeerReader(int fd, QObject* parent, std::function<void(const QByteArray&)> done)
        : QObject(parent)
        , m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read)
        , m_done(std::move(done))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &PeerReader::read);
        QTimer::singleShot(patience, this, &PeerReader::end);
    }

    ~PeerReader() override { ::close(m_fd); }

private:
    void read()
    {
        char buffer[1024];
        for (;;) {
            const ssize_t got = Posix::retried([&] { return ::read(m_fd, buffer, sizeof buffer); });
            if (got < 0 && errno == EAGAIN) {
                return;
            }
            if (got > 0 && m_request.size() + got <= limit) {
                m_request.append(buffer, got);
                continue;
            }
            end();
            return;
        }
    }

    void end()
    {
        if (m_notifier.isEnabled()) {
            m_notifier.setEnabled(false);
            m_done(m_request);
            deleteLater();
        }
    }

    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_request;
    std::function<void(const QByteArray&)> m_done;
};

// True when a copy listens at `path`; it was handed `request`.
bool askToShow(const QByteArray& path, const QByteArray& request)
{
    sockaddr_un address;
    if (!socketAddress(path, address) || !privateFolder(path)) {
        return false;
    }
    // Not blocking: a copy that has stopped answering, its queue full, must not hold this start up.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (connected) {
        // Far smaller than the socket's buffer: written at once, or not at all.
        Posix::retried([&] { return ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL); });
    }
    ::close(fd);
    return connected;
}

} // namespace

SingleInstance::SingleInstance(const QByteArray& programFolder, QObject* parent)
    : QObject(parent)
    , m_base(basePath(programFolder))
    , m_socketPath(socketPath(m_base))
    , m_lock(m_base + QStringLiteral(".lock"))
{
    // A lock is stale only when its holder is gone, however long it has been held.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_listener >= 0) {
        m_notifier.reset();
        ::close(m_listener);
        ::unlink(m_socketPath.constData());
    }
}

bool SingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address)) {
        errno = ENAMETOOLONG;
        return false;
    }
    if (!privateFolder(m_socketPath)) {
        errno = EPERM;
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    // A copy that was killed leaves its socket behind; the lock says that no copy listens on it now.
    ::unlink(m_socketPath.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::chmod(m_socketPath.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 4) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_listener = fd;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptAll);
    return true;
}

void SingleInstance::acceptAll()
{
    for (int peer; (peer = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        new PeerReader(peer, this, [this](const QByteArray& request) {
            qCInfo(instanceLog) << "another start asked this copy to show itself";
            emit showRequested(request);
        });
    }
}

bool SingleInstance::start(const std::function<QByteArray()>& request)
{
    if (m_base.isEmpty()) {
        // Nowhere to meet another copy: run; the record file's own lock still guards the data.
        return true;
    }
    if (m_lock.tryLock(0)) {
        if (listen()) {
            qCInfo(instanceLog) << "listening for later starts";
        } else {
            qCWarning(instanceLog) << "cannot listen for later starts:" << std::strerror(errno);
        }
        return true;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        qCWarning(instanceLog) << "cannot take the lock of the running copy; starting all the same";
        return true;
    }
    // The holder may be starting and not yet listening: give it a moment.
    const QByteArray handed = request ? request() : QByteArray();
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired()) {
        if (askToShow(m_socketPath, handed)) {
            return false;
        }
        QThread::msleep(50);
    }
    qCWarning(instanceLog) << "a running copy does not answer; starting all the same";
    return true;
}
