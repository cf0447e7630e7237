#pragma once

#include "FileFailure.h"
#include "FileStamp.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class DataFolder;

// The e-mail address list: the file, one address a line. The list keeps each address as the bytes
// it was read as, so a save or an erase writes every line it did not add or remove exactly as it
// found it. Each call gives back the addresses to show, read back from the file.
class EmailList
{
public:
    struct Result
    {
        enum class Outcome {
            Done,
            // Blank, or not to be held by the file's code page; nothing was opened.
            Refused,
            Failed,
        };

        Outcome outcome = Outcome::Done;
        FileFailure failure;
        QStringList addresses;
    };

    explicit EmailList(DataFolder& folder);

    // The file's addresses, without blanks and blank lines; none where it cannot be read.
    QStringList load();
    // Appends the address as typed, blanks and all; a blank or one the code page lacks is refused.
    Result save(const QString& typed);
    // Removes the address at `index` of those last given, keeping every line saved elsewhere.
    Result erase(int index);

    // Whether the file is no longer as the addresses last given were read from it.
    bool changed();
    // Adds each address of a sync tool's conflict copy that the file lacks; `added` gets them.
    Result mergeCopy(const QString& copyPath, QStringList& added);

private:
    QString path() const;
    // Reads the file as it is now. When another copy of the program has changed it since the list
    // was read, the list becomes the file's addresses, so that a save keeps what was saved there.
    // Fails when the file is there but cannot be read: then nothing may be written over it.
    FileFailure readFileNow(bool& changed);
    // Writes the list and the line after it, and gives back the addresses written, as a reading of
    // the file would give them; after a failure, the file's as it now is.
    Result write(const QByteArray& lastLine);
    QStringList decoded() const;

    DataFolder& m_folder;
    // The file's bytes as the list was last read from them, and its stamp then.
    QByteArray m_loaded;
    FileStamp m_stamp;
    // The addresses as last given, item by item: the file's non-empty lines without their blanks.
    QList<QByteArray> m_lines;
};
