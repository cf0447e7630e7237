#pragma once

#include "DataFolder.h"

#include <QFile>

#include <unistd.h>

class FakeDataFolder : public DataFolder
{
public:
    QString path() const override { return folder; }

    // A folder reached through a link `folder` comes back as `comesBackAs`: the link is turned there.
    void recover() override
    {
        if (!comesBackAs.isEmpty()) {
            ::unlink(QFile::encodeName(folder).constData());
            ::symlink(QFile::encodeName(comesBackAs).constData(), QFile::encodeName(folder).constData());
        }
    }

    QString problem() const override { return unusable; }

    QString folder;
    QString comesBackAs;
    QString unusable;
};
