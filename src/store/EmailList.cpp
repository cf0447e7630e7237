#include "EmailList.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "Gbk.h"
#include "TextFile.h"

namespace {

QList<QByteArray> addresses(const QByteArray& file)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : TextFile::splitLines(file)) {
        QByteArray address = Gbk::trimBlanks(line);
        if (!address.isEmpty()) {
            lines.append(std::move(address));
        }
    }
    return lines;
}

} // namespace

EmailList::EmailList(DataFolder& folder)
    : m_folder(folder)
{ }

QString EmailList::path() const
{
    return m_folder.filePath(QLatin1String(DataFileNames::emails));
}

QStringList EmailList::decoded() const
{
    QStringList items;
    items.reserve(m_lines.size());
    for (const QByteArray& line : m_lines) {
        items.append(Gbk::decode(line.constData(), line.size()));
    }
    return items;
}

QStringList EmailList::load()
{
    m_folder.recover();
    m_stamp = FileStamp::of(path());
    int error = 0;
    TextFile::readAll(path(), m_loaded, error);
    m_lines = addresses(m_loaded);
    return decoded();
}

FileFailure EmailList::readFileNow(bool& changed)
{
    changed = false;
    m_folder.recover();
    QByteArray now;
    int error = 0;
    switch (TextFile::readAll(path(), now, error)) {
    case TextFile::Read::Failed:
        return FileFailure::at(FileFailure::Step::Read, error, path());
    case TextFile::Read::Missing:
        // Gone meanwhile: the addresses the window lists are all that is left of them.
        return {};
    case TextFile::Read::Done:
        break;
    }
    if (now != m_loaded) {
        m_loaded = now;
        m_lines = addresses(now);
        changed = true;
    }
    return {};
}

EmailList::Result EmailList::write(const QByteArray& lastLine)
{
    Result result;
    bool changed = false;
    // The whole list is written beside the old file and takes its place only once complete.
    result.failure = readFileNow(changed);
    const QByteArray bytes = TextFile::joinLines(m_lines) + lastLine + QByteArrayLiteral("\r\n");
    if (!result.failure.failed()) {
        result.failure = TextFile::write(path(), bytes);
    }
    if (result.failure.failed()) {
        // What the file now holds, whatever part of the write reached it.
        result.outcome = Result::Outcome::Failed;
        result.addresses = load();
        return result;
    }
    // The list as written, which is what the file holds: not read back.
    m_stamp = FileStamp::of(path());
    m_loaded = bytes;
    m_lines = addresses(bytes);
    result.addresses = decoded();
    return result;
}

EmailList::Result EmailList::save(const QString& typed)
{
    // An address the file's code page cannot hold would come back altered: refused like a blank one.
    const QString address = Gbk::trimBlanks(typed);
    if (address.isEmpty() || !Gbk::canEncode(address)) {
        Result refused;
        refused.outcome = Result::Outcome::Refused;
        return refused;
    }
    return write(Gbk::encode(typed));
}

EmailList::Result EmailList::erase(int index)
{
    const bool chosen = index >= 0 && index < m_lines.size();
    const QByteArray address = chosen ? m_lines.at(index) : QByteArray();
    bool changed = false;
    readFileNow(changed);
    if (changed) {
        if (chosen) {
            m_lines.removeOne(address);
        }
    } else if (chosen) {
        m_lines.removeAt(index);
    }
    // The erased address's line stays, empty.
    return write({});
}

bool EmailList::changed()
{
    m_folder.recover();
    return FileStamp::of(path()) != m_stamp;
}

EmailList::Result EmailList::mergeCopy(const QString& copyPath, QStringList& added)
{
    Result result;
    QByteArray copied;
    int error = 0;
    if (TextFile::readAll(copyPath, copied, error) != TextFile::Read::Done) {
        result.outcome = Result::Outcome::Failed;
        result.failure = FileFailure::at(FileFailure::Step::Read, error, copyPath);
        return result;
    }
    bool changed = false;
    result.failure = readFileNow(changed);
    QList<QByteArray> merged = m_lines;
    for (const QByteArray& address : addresses(copied)) {
        if (!merged.contains(address)) {
            merged.append(address);
            added.append(Gbk::decode(address.constData(), address.size()));
        }
    }
    if (!result.failure.failed() && merged.size() > m_lines.size()) {
        result.failure = TextFile::write(path(), TextFile::joinLines(merged));
    }
    if (result.failure.failed()) {
        result.outcome = Result::Outcome::Failed;
        added.clear();
    }
    return result;
}
