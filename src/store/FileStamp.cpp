#include "FileStamp.h"

#include "FreshStat.h"

#include <QFile>

namespace {

FileStamp stampOf(bool found, const struct stat& info)
{
    FileStamp stamp;
    if (found) {
        stamp = {true, quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), qint64(info.st_mtim.tv_sec),
            qint64(info.st_mtim.tv_nsec)};
    }
    return stamp;
}

} // namespace

FileStamp FileStamp::of(const QString& path)
{
    struct stat info;
    return stampOf(FreshStat::at(AT_FDCWD, QFile::encodeName(path).constData(), info), info);
}

FileStamp FileStamp::ofOpen(int fd)
{
    struct stat info;
    return stampOf(FreshStat::of(fd, info), info);
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
}
