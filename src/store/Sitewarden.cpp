#include "Sitewarden.h"

#include "Beeper.h"
#include "Gbk.h"
#include "MessageBox.h"
#include "ProgramFolder.h"
#include "RecordFile.h"
#include "SiteListRead.h"
#include "StoreView.h"

#include <system_error>

namespace {

const QString updateFailed = QStringLiteral("文件更新错误!");
const QString fileErrorTitle = QStringLiteral("文件错误!");

} // namespace

Sitewarden::Sitewarden(StoreView& view, MessageBox& messageBox, Beeper& beeper)
    : m_view(view)
    , m_messageBox(messageBox)
    , m_beeper(beeper)
{ }

Sitewarden::~Sitewarden()
{
    takePrefetched();
}

void Sitewarden::prefetchSiteList(const QString& path)
{
    takePrefetched();
    m_prefetched = std::make_unique<SiteListRead>(path, CurrentRecord);
    try {
        m_prefetching = std::thread(&SiteListRead::read, m_prefetched.get());
    } catch (const std::system_error&) {
        // No thread to be had: LoadSiteList reads the file itself.
        m_prefetched.reset();
    }
}

std::unique_ptr<SiteListRead> Sitewarden::takePrefetched()
{
    if (m_prefetching.joinable()) {
        m_prefetching.join();
    }
    return std::move(m_prefetched);
}

void Sitewarden::reachFolder() const
{
    if (m_folder) {
        m_folder->recover();
    }
}

bool Sitewarden::openRecordFile(RecordFile& file, RecordFile::Access access)
{
    reachFolder();
    // Only one file is ever open at a time, so the first free file number is always 1.
    FileNum = 1;
    return file.open(DataFilePath, access);
}

void Sitewarden::closeRecordFile(RecordFile& file)
{
    file.close();
    FileNum = 0;
}

bool Sitewarden::writeRecordFile(
    const QString& failure, const QString& title, const std::function<bool(RecordFile&)>& work)
{
    RecordFile file;
    const bool done = work(file);
    if (!done) {
        // The user may take a while over the message: another copy of the program need not wait.
        file.unlock();
        MsgText = failure;
        m_messageBox.show(MsgText, MessageBox::Critical, title);
    }
    closeRecordFile(file);
    return done;
}

void Sitewarden::ShowCurrentRecord()
{
    m_readAfresh = false;
    if (!showRecord(true)) {
        showListAfresh();
    }
}

bool Sitewarden::showRecord(bool listed)
{
    RecordFile file;
    openRecordFile(file, RecordFile::Access::Read);
    QByteArray stored;
    m_shownSlot = 0;
    // A failed read leaves Rec as it was; the boxes are written from it all the same.
    if (file.readBytes(CurrentRecord, stored)) {
        // Only a listed line is checked: an empty file still shows its (empty) record 1.
        if (listed && CurrentRecord <= m_listed.count() && !listShowsStored(stored)) {
            closeRecordFile(file);
            return false;
        }
        if (!stored.isEmpty()) {
            Rec = SiteRecord::fromBytes(stored.constData());
        }
        m_shownSlot = CurrentRecord;
        m_shown = stored;
    }
    ShowRecordFields();
    closeRecordFile(file);
    return true;
}

void Sitewarden::ShowRecordFields()
{
    m_view.setBoxText(StoreView::Box::TxtUser, Gbk::trimBlanks(Rec.UserId));
    m_view.setBoxText(StoreView::Box::TxtPassword, Gbk::trimBlanks(Rec.Password));
    m_view.setBoxText(StoreView::Box::TxtURL, Gbk::trimBlanks(Rec.Url));
}

void Sitewarden::LoadSiteList()
{
    m_listed = SiteNames();
    m_view.setSiteList(m_listed);
    std::unique_ptr<SiteListRead> list = takePrefetched();
    if (!list || list->path != DataFilePath || list->uncounted != CurrentRecord) {
        reachFolder();
        list = std::make_unique<SiteListRead>(DataFilePath, CurrentRecord);
        list->read();
    }
    // The file is open, as openRecordFile leaves it.
    FileNum = 1;
    if (list->counted) {
        CurrentRecord = qint16(qMin<qint64>(list->count, MaxRecords));
    }
    if (list->lastSlot > 0) {
        LoopIndex = qint16(list->lastSlot);
    }
    if (!list->lastRecord.isEmpty()) {
        Rec = SiteRecord::fromBytes(list->lastRecord.constData());
    }
    if (list->lines.count() > 0) {
        m_listed = list->lines;
        m_view.setSiteList(m_listed);
    }
    closeRecordFile(list->file);
}

void Sitewarden::SaveNewSite()
{
    ReuseDeletedSlot();
    if (!FoundDeleted) {
        AppendRecord();
    }
    LoadSiteList();
    CurrentRecord = 1;
    ShowCurrentRecord();
}

void Sitewarden::ReuseDeletedSlot()
{
    FoundDeleted = false;
    writeRecordFile(updateFailed, fileErrorTitle, [&](RecordFile& file) {
        qint16 count = 0;
        if (!openRecordFile(file) || !file.count(count)) {
            return false;
        }
        CurrentRecord = count;
        const bool scanned = file.scan(count, [&](int slot, const char* data) {
            LoopIndex = qint16(slot);
            if (SiteRecord::isDeletedSlot(data)) {
                Rec = SiteRecord::fromBytes(data);
                FoundDeleted = true;
                CurrentRecord = LoopIndex;
                return false;
            }
            if (slot == count) {
                Rec = SiteRecord::fromBytes(data);
            }
            return true;
        });
        if (!scanned) {
            return false;
        }
        if (!FoundDeleted) {
            // The 16-bit scan counter cannot step past the last possible slot.
            return count < MaxRecords;
        }
        FillRecordFromForm();
        return file.write(CurrentRecord, Rec);
    });
}

void Sitewarden::AppendRecord()
{
    writeRecordFile(QStringLiteral("无法保存文件!"), QStringLiteral("保存出错!"), [&](RecordFile& file) {
        qint16 count = 0;
        if (!openRecordFile(file) || !file.count(count)) {
            return false;
        }
        CurrentRecord = count;
        if (CurrentRecord == MaxRecords) {
            return false;
        }
        CurrentRecord = qint16(CurrentRecord + 1);
        FillRecordFromForm();
        return file.write(CurrentRecord, Rec);
    });
}

void Sitewarden::UpdateRecord()
{
    m_readAfresh = false;
    bool stale = false;
    writeRecordFile(updateFailed, fileErrorTitle, [&](RecordFile& file) {
        QByteArray stored;
        if (!openRecordFile(file) || !file.readBytes(CurrentRecord, stored)) {
            return false;
        }
        if (!slotShowsStored(stored)) {
            stale = true;
            return true;
        }
        if (!stored.isEmpty()) {
            Rec = SiteRecord::fromBytes(stored.constData());
        }
        FillRecordFromForm();
        QByteArray bytes = Rec.toBytes();
        // The description goes back as it was read: bytes GBK cannot decode must not become "?".
        if (EditMode && !stored.isEmpty()) {
            bytes.replace(SiteRecord::NameOffset, SiteRecord::NameWidth, stored.constData() + SiteRecord::NameOffset,
                SiteRecord::NameWidth);
        }
        if (!file.writeBytes(CurrentRecord, bytes)) {
            return false;
        }
        m_shown = bytes;
        return true;
    });
    if (stale) {
        showListAfresh();
    }
}

void Sitewarden::FillRecordFromForm()
{
    Rec.RecNo = CurrentRecord;
    if (!EditMode) {
        Rec.SiteName = Gbk::trimBlanks(m_view.boxText(StoreView::Box::Text1));
    }
    Rec.UserId = Gbk::trimBlanks(m_view.boxText(StoreView::Box::TxtUser));
    Rec.Password = Gbk::trimBlanks(m_view.boxText(StoreView::Box::TxtPassword));
    Rec.Url = Gbk::trimBlanks(m_view.boxText(StoreView::Box::TxtURL));
}

void Sitewarden::MarkRecordDeleted()
{
    Rec.RecNo = CurrentRecord;
    Rec.SiteName = SiteRecord::DeletedMarker;
    Rec.UserId.clear();
    Rec.Password.clear();
    Rec.Url.clear();
}

void Sitewarden::DeleteCurrentRecord()
{
    m_readAfresh = false;
    if (CurrentRecord == 0) {
        return;
    }
    bool stale = false;
    const bool done = writeRecordFile(QStringLiteral("文件删除出错!"), fileErrorTitle, [&](RecordFile& file) {
        QByteArray stored;
        if (!openRecordFile(file) || !file.readBytes(CurrentRecord, stored)) {
            return false;
        }
        if (!slotShowsStored(stored)) {
            stale = true;
            return true;
        }
        MarkRecordDeleted();
        return file.write(CurrentRecord, Rec);
    });
    if (stale) {
        showListAfresh();
    } else if (done) {
        LoadSiteList();
        CurrentRecord = 1;
        ShowCurrentRecord();
    }
}

bool Sitewarden::listShowsStored(const QByteArray& stored) const
{
    return m_listed.field(CurrentRecord - 1) == stored.mid(SiteRecord::NameOffset, SiteRecord::NameWidth);
}

bool Sitewarden::slotShowsStored(const QByteArray& stored) const
{
    return listShowsStored(stored) && (m_shownSlot != CurrentRecord || stored == m_shown);
}

void Sitewarden::showListAfresh()
{
    m_readAfresh = true;
    m_beeper.beep();
    LoadSiteList();
    CurrentRecord = 1;
    showRecord(false);
}

bool Sitewarden::isPastEnd(int slot)
{
    reachFolder();
    RecordFile file;
    qint64 count = 0;
    return file.open(DataFilePath, RecordFile::Access::Read) && file.countAll(count) && (slot < 1 || slot > count);
}
