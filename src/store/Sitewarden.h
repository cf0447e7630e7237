#pragma once

#include "RecordFile.h"
#include "SiteNames.h"
#include "SiteRecord.h"

#include <QString>

#include <functional>
#include <memory>
#include <thread>

class Beeper;
class MessageBox;
class ProgramFolder;
class SiteListRead;
class StoreView;

// The program's module: the state its routines share and the routines of the record store.
// Every routine opens its file, does its work and closes it before it returns; none reports
// success to its caller, and the writing routines tell the user of a failure themselves.
class Sitewarden
{
public:
    static constexpr qint16 MaxRecords = 32767;

    Sitewarden(StoreView& view, MessageBox& messageBox, Beeper& beeper);
    ~Sitewarden();

    // Starts the next LoadSiteList's reading of `path` on a thread of its own, so that the file
    // is read while the window is still being built. It keeps the file locked until that
    // LoadSiteList, which then shows what it would have read itself.
    void prefetchSiteList(const QString& path);

    void ShowCurrentRecord();
    void LoadSiteList();
    void SaveNewSite();
    void ReuseDeletedSlot();
    void AppendRecord();
    void UpdateRecord();
    void ShowRecordFields();
    void FillRecordFromForm();
    void MarkRecordDeleted();
    void DeleteCurrentRecord();

    // True only when the file can be read and holds no slot with this number.
    bool isPastEnd(int slot);
    // The folder the data files' paths lead through; it is found again before each piece of file
    // work should it have gone (a stick plugged back in).
    void setProgramFolder(const ProgramFolder& folder) { m_folder = &folder; }
    void reachFolder() const;
    // Whether the last show, update or erase found the file changed under the window and read
    // the list afresh: no line of the new list is the one the user chose.
    bool listReadAfresh() const { return m_readAfresh; }

    SiteRecord Rec;
    qint16 CurrentRecord = 0;
    qint16 FileNum = 0;
    qint16 LoopIndex = 0;
    bool FoundDeleted = false;
    bool EditMode = false;
    QString DataFilePath;
    QString EmailFilePath;
    QString MsgText;

private:
    bool openRecordFile(RecordFile& file, RecordFile::Access access = RecordFile::Access::ReadWrite);
    void closeRecordFile(RecordFile& file);
    // The rule of the writing routines: any failing step stops the work, the user is told with
    // the routine's message, and the file is closed.
    bool writeRecordFile(const QString& failure, const QString& title, const std::function<bool(RecordFile&)>& work);
    // Reads slot CurrentRecord into Rec and shows it. With `listed`, a line of the list that no
    // longer stands for what its slot holds shows nothing and fails.
    bool showRecord(bool listed);
    // Whether slot CurrentRecord, as stored, still has the description List1 shows on its line.
    // Another program may have changed the file since the list was read; an erase, update or
    // show of that line then acts on nothing (see showListAfresh).
    bool listShowsStored(const QByteArray& stored) const;
    // Whether slot CurrentRecord still holds, byte for byte, the record the window shows: a sync
    // tool may have brought in the same entry with another password since.
    bool slotShowsStored(const QByteArray& stored) const;
    // A beep, and the list and record 1 as the file holds them now, so the user can choose again.
    void showListAfresh();

    // The prefetched reading, once its thread has ended; null when there is none.
    std::unique_ptr<SiteListRead> takePrefetched();

    StoreView& m_view;
    MessageBox& m_messageBox;
    const ProgramFolder* m_folder = nullptr;
    Beeper& m_beeper;
    // The lines List1 was last given, one per slot.
    SiteNames m_listed;
    // The slot the window shows and its bytes as read; slot 0 when it shows none read from the file.
    int m_shownSlot = 0;
    QByteArray m_shown;
    bool m_readAfresh = false;
    std::unique_ptr<SiteListRead> m_prefetched;
    std::thread m_prefetching;
};
