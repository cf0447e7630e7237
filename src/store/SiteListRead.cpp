#include "SiteListRead.h"

SiteListRead::SiteListRead(const QString& path)
    : path(path)
{ }

void SiteListRead::read()
{
    if (file.open(path, RecordFile::Access::Read)) {
        list = SiteList::read(file);
    }
}
