#include "SiteListRead.h"

SiteListRead::SiteListRead(const QString& path)
    : path(path)
{ }

void SiteListRead::read()
{
    if (file.open(path)) {
        list = SiteList::read(file);
    }
}
