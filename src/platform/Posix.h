#pragma once

#include <QByteArray>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// The few rules of POSIX calls that the store and the platform services share.
namespace Posix {

// The call, again for as long as a signal interrupts it.
template<typename Call> auto retried(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// The folder that holds `path`: "/" for a name at the root, "." for a bare name.
inline QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// A folder of this user's own that no one else may enter: where plain-text passwords may live.
inline bool ownerOnlyFolder(const struct stat& info)
{
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

} // namespace Posix
