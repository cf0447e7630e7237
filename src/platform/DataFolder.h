#pragma once

#include <QString>

// The folder of the data files: beside the program, or the user's own (see DataFolderRule).
class DataFolder
{
public:
    virtual ~DataFolder() = default;
    // Empty when the folder cannot be found.
    virtual QString path() const = 0;
    // Before each piece of file work: a folder held since the start that is gone (a stick pulled
    // and plugged back in, a share mounted again) is found again by its name, and path() then
    // reaches the new one.
    virtual void recover() { }
    // Why no folder could be found for the data, for the user; empty when there is one, or when
    // the program's own folder is the one (its failures are told when the files are used).
    virtual QString problem() const { return {}; }

    // A file in the folder; empty, a name no file has, when the folder cannot be found, so that
    // nothing is ever read or written anywhere else.
    QString filePath(const QString& name) const
    {
        const QString folder = path();
        return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
    }
};
