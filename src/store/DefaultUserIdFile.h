#pragma once

#include "FileFailure.h"

#include <QByteArray>
#include <QString>

class DataFolder;

// The default user ID: the first line of a small file. Reading never fails: a step that fails is
// skipped. The ID is kept as the bytes it was read as, so that an unchanged ID is written back as
// it was stored.
class DefaultUserIdFile
{
public:
    struct Result
    {
        enum class Outcome {
            Done,
            // An unchanged ID, while another was stored elsewhere meanwhile: the file keeps that one.
            Kept,
            Failed,
        };

        Outcome outcome = Outcome::Done;
        FileFailure failure;
    };

    explicit DefaultUserIdFile(DataFolder& folder);

    // The ID without its blanks; empty where there is none to be read.
    QString load();
    // Whether `id` may be stored: the one read, or one the file's code page holds.
    bool canStore(const QString& id) const;
    // Writes the ID without its blanks, the whole file at once.
    Result store(const QString& id);

private:
    QString path() const;
    QString storedText() const;

    DataFolder& m_folder;
    // The ID's bytes as read, without blanks.
    QByteArray m_stored;
};
