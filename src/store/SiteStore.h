#pragma once

#include "FileFailure.h"
#include "RecordFile.h"
#include "ShownSlot.h"
#include "SiteEntry.h"
#include "SiteList.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <thread>

class DataFolder;
class SiteListRead;

// The record file's entries. Each command takes the entry typed and the slot the window showed,
// opens and locks the file once, and gives back what became of it; it never shows anything itself.
class SiteStore
{
public:
    struct Result
    {
        enum class Outcome {
            Done,
            // A field the record cannot hold as typed; nothing was opened.
            Refused,
            // The file no longer holds what the window showed: nothing was written.
            Stale,
            Failed,
        };

        Outcome outcome = Outcome::Done;
        // Refused: the field at fault; None where the slot to update does not exist.
        SiteEntry::Field refused = SiteEntry::Field::None;
        FileFailure failure;
        // A new entry that failed was going to the end of the file rather than into a free slot.
        bool appending = false;
        // The slot as the file now holds it, after a show or an update. Stale, and after a follow: the
        // slot the window keeps, unchanged while the file holds it as shown, as stored while it holds
        // the same entry, none (number 0) where that entry is gone.
        ShownSlot shown;
        // The list and slot 1 as read afresh, wherever the command changed them or found them
        // changed: always after saveNew and erase (empty where the file could not be opened), after
        // show and update when stale, after follow unless it failed. An update that went through
        // changes no line, and gives none.
        std::optional<SiteList> fresh;
    };

    explicit SiteStore(DataFolder& folder);
    ~SiteStore();
    SiteStore(const SiteStore&) = delete;
    SiteStore& operator=(const SiteStore&) = delete;

    // Starts reading the list on a thread of its own, so that the file is read while the window is
    // still being built; the file stays locked until list() takes what was read.
    void prefetch();
    SiteList list();

    // The slot of a list line for the boxes, while the line still stands for what it holds.
    Result show(const ShownSlot& line);
    // Into the first free slot, else at the end.
    Result saveNew(const SiteEntry& entry);
    // The user ID, password and address of the slot shown; its description stays byte for byte.
    Result update(const ShownSlot& shown, const SiteEntry& entry);
    // The deleted marker into the slot shown.
    Result erase(const ShownSlot& shown);

    // Whether the file is no longer as the last list given read it: another machine's save brought in
    // by a sync tool, another copy of the program, a backup restored.
    bool changed();
    // The list read afresh: done while the slot shown still holds what was shown, else stale.
    Result follow(const ShownSlot& shown);
    // Adds each entry of a sync tool's conflict copy that the file holds nowhere (all four fields
    // alike), as a save would: into the first free slot, else at the end. The copy's free slots and
    // torn tail are passed over; nothing the file holds changes. `added` gets their descriptions.
    Result mergeCopy(const QString& copyPath, QStringList& added);

private:
    QString path() const;
    bool open(RecordFile& file, Result& result, RecordFile::Access access = RecordFile::Access::ReadWrite);
    // Whether the slot as stored is still what the window showed.
    static bool stillShows(const ShownSlot& shown, const QByteArray& stored);
    static ShownSlot kept(const ShownSlot& shown, const QByteArray& stored);
    static SiteEntry::Field refusal(const SiteEntry& entry, bool isNew);
    void saveInto(RecordFile& file, const QByteArray& record, Result& result);
    std::unique_ptr<SiteListRead> takePrefetched();

    // A fresh list, which the window will show: what the file looked like then.
    SiteList freshList(const RecordFile& file);

    DataFolder& m_folder;
    // The file as the last list given read it.
    FileStamp m_stamp;
    std::unique_ptr<SiteListRead> m_prefetched;
    std::thread m_prefetching;
};
