#include "DataFolderRule.h"

#include "DataFileNames.h"
#include "Posix.h"

#include <QFile>

#include <cerrno>
#include <cstring>
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

// Any of the data files, a link included (its target may be on a disk not yet mounted).
bool holdsData(const QByteArray& folder)
{
    for (const char* name : DataFileNames::all) {
        struct stat info;
        if (::fstatat(AT_FDCWD, folder + '/' + name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            return true;
        }
    }
    return false;
}

// A folder that is not there (yet) is no reason to look elsewhere: opening its files fails as it
// always did. Only one the user may not write is.
bool writable(const QByteArray& folder)
{
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS) == 0
        || (errno != EACCES && errno != EPERM && errno != EROFS);
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

DataFolderRule::Choice unusable(DataFolderRule::Choice choice, DataFolderRule::Problem problem, int error = 0)
{
    choice.problem = problem;
    choice.error = error;
    return choice;
}

} // namespace

namespace DataFolderRule {

Choice locate(const QByteArray& programFolder)
{
    Choice choice;
    if (programFolder.isEmpty()) {
        return choice;
    }
    if (!systemWide(programFolder) && (holdsData(programFolder) || writable(programFolder))) {
        choice.path = programFolder;
        return choice;
    }
    choice.perUser = true;
    const QByteArray base = dataHome();
    if (base.isEmpty()) {
        return unusable(choice, Problem::NoHome);
    }
    choice.path = base + "/Sitewarden";
    return choice;
}

Choice prepare(const QByteArray& programFolder)
{
    Choice choice = locate(programFolder);
    if (!choice.perUser || choice.problem != Problem::None) {
        return choice;
    }
    makePath(choice.path);
    // Passwords in plain text: only a folder of the user's own that no one else may enter. One the
    // user made with the usual `mkdir -p` (755) is theirs: it is made private, its files keep their modes.
    // A link to a folder of the user's own (in a synced folder, say) is that folder.
    struct stat info;
    if (::stat(choice.path.constData(), &info) != 0) {
        return unusable(choice, Problem::Unusable, errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return unusable(choice, Problem::NotAFolder);
    }
    if (info.st_uid != ::geteuid()) {
        return unusable(choice, Problem::OtherOwner);
    }
    if (!Posix::ownerOnlyFolder(info) && ::chmod(choice.path.constData(), S_IRWXU) != 0) {
        return unusable(choice, Problem::Unusable, errno);
    }
    return choice;
}

QString explain(const Choice& choice)
{
    QString reason;
    switch (choice.problem) {
    case Problem::None:
        return {};
    case Problem::NoHome:
        return QStringLiteral("找不到你的主文件夹, 数据文件无处保存.");
    case Problem::NotAFolder:
        reason = QStringLiteral("它不是文件夹.");
        break;
    case Problem::OtherOwner:
        reason = QStringLiteral("它属于另一个用户.");
        break;
    case Problem::Unusable:
        reason = QString::fromLocal8Bit(std::strerror(choice.error));
        break;
    }
    return QStringLiteral("无法使用数据文件夹 %1 : %2").arg(QFile::decodeName(choice.path), reason);
}

} // namespace DataFolderRule
