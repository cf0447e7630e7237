#include "DefaultUserIdFile.h"

#include "DataFileNames.h"
#include "DataFolder.h"
#include "Gbk.h"
#include "TextFile.h"

DefaultUserIdFile::DefaultUserIdFile(DataFolder& folder)
    : m_folder(folder)
{ }

QString DefaultUserIdFile::path() const
{
    return m_folder.filePath(QLatin1String(DataFileNames::defaultUserId));
}

QString DefaultUserIdFile::storedText() const
{
    return Gbk::decode(m_stored.constData(), m_stored.size());
}

QString DefaultUserIdFile::load()
{
    m_folder.recover();
    QByteArray line;
    TextFile::readFirstLine(path(), line);
    m_stored = Gbk::trimBlanks(line);
    return storedText();
}

bool DefaultUserIdFile::canStore(const QString& id) const
{
    // An unchanged ID goes back as the bytes it was read as, whatever they are.
    const QString trimmed = Gbk::trimBlanks(id);
    return trimmed == storedText() || Gbk::canEncode(trimmed);
}

DefaultUserIdFile::Result DefaultUserIdFile::store(const QString& id)
{
    m_folder.recover();
    const QString trimmed = Gbk::trimBlanks(id);
    const bool unchanged = trimmed == storedText();
    Result result;
    if (unchanged) {
        // Another machine may have stored a newer ID while the dialog was open: the file keeps it.
        QByteArray line;
        TextFile::readFirstLine(path(), line);
        if (Gbk::trimBlanks(line) != m_stored) {
            result.outcome = Result::Outcome::Kept;
            return result;
        }
    }
    // Written whole beside the old file, so a failure leaves the stored ID as it was.
    result.failure = TextFile::write(path(), (unchanged ? m_stored : Gbk::encode(trimmed)) + QByteArrayLiteral("\r\n"));
    if (result.failure.failed()) {
        result.outcome = Result::Outcome::Failed;
    }
    return result;
}
