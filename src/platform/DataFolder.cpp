#include "DataFolder.h"

#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool systemWide(const QByteArray& folder)
{
    for (const char* root : {"/usr", "/opt"}) {
        if (folder == root || folder.startsWith(QByteArray(root) + '/')) {
            return true;
        }
    }
    return false;
}

// The base of the user's data folders: $XDG_DATA_HOME when it is absolute (a relative one is to be
// ignored), otherwise ~/.local/share.
QByteArray dataHome()
{
    const QByteArray configured = qgetenv("XDG_DATA_HOME");
    if (configured.startsWith('/')) {
        return configured;
    }
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir && user->pw_dir[0] == '/' ? QByteArray(user->pw_dir) : QByteArray();
    }
    return home.isEmpty() ? QByteArray() : home + "/.local/share";
}

// Makes each missing folder of `path` for the user alone.
void makePath(const QByteArray& path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1)) {
        ::mkdir(path.left(slash).constData(), S_IRWXU);
    }
    ::mkdir(path.constData(), S_IRWXU);
}

} // namespace

namespace DataFolder {

QByteArray choose(const QByteArray& programFolder)
{
    if (programFolder.isEmpty()) {
        return {};
    }
    // A folder that is not there (yet) is no reason to look elsewhere: opening it fails as before.
    if (!systemWide(programFolder)
        && (::faccessat(AT_FDCWD, programFolder.constData(), W_OK, AT_EACCESS) == 0
            || (errno != EACCES && errno != EPERM && errno != EROFS))) {
        return programFolder;
    }
    const QByteArray base = dataHome();
    if (base.isEmpty()) {
        return {};
    }
    const QByteArray folder = base + "/Sitewarden";
    makePath(folder);
    // Passwords in plain text: only a folder of the user's own that no one else may enter.
    struct stat info;
    if (::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()
        || (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return {};
    }
    return folder;
}

} // namespace DataFolder
