#pragma once

#include "FileFailure.h"

#include <QByteArray>
#include <QList>
#include <QString>

class DataFolder;

// Every entry of the record file as CSV (see LoginCsv), in slot order, free slots passed over.
class LoginExport
{
public:
    struct Undecodable
    {
        int slot = 0;
        // As decoded, the replacement character in place of each byte GBK cannot decode.
        QString description;
    };

    struct Result
    {
        QByteArray csv;
        int entries = 0;
        // Entries whose bytes GBK cannot decode: written with the replacement character.
        QList<Undecodable> undecodable;
        FileFailure failure;
    };

    explicit LoginExport(DataFolder& folder);

    // Reads the file under a shared lock; a folder without one exports the header alone.
    Result run();

private:
    DataFolder& m_folder;
};
