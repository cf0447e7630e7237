#pragma once

#include <fcntl.h>
#include <sys/stat.h>

// A file's attributes as its file system holds them now. Network and FUSE file systems (NFS,
// sshfs) otherwise answer from a cache that may be many seconds old: a list saved on another
// machine would look as long as it was, and be cut back to that when written.
namespace FreshStat {

// As fstatat(dir, name, info, flags); flags may hold AT_SYMLINK_NOFOLLOW or AT_EMPTY_PATH.
bool at(int dir, const char* name, struct stat& info, int flags = 0);

// As fstat(fd, info).
inline bool of(int fd, struct stat& info)
{
    return at(fd, "", info, AT_EMPTY_PATH);
}

} // namespace FreshStat
