#include "LoginCsv.h"

#include "Csv.h"
#include "Gbk.h"
#include "SiteRecord.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <array>
#include <cerrno>

namespace {

using Field = SiteEntry::Field;

struct Column
{
    Field field;
    const char* label;
    std::array<const char*, 6> names;
};

const std::array<Column, 4> columns {{
    {Field::Description, "description", {"name", "title"}},
    {Field::UserId, "user ID", {"username", "login_username", "login name", "user name", "login"}},
    {Field::Password, "password", {"password", "login_password"}},
    {Field::Url, "address", {"url", "login_uri", "web site", "website", "uri", "hostname"}},
}};

constexpr int fieldCount = 5;
// Bitwarden's column saying what kind of item a row is; only logins are logins.
constexpr int kindColumn = 4;

int widthOf(Field field)
{
    switch (field) {
    case Field::Description:
        return SiteRecord::NameWidth;
    case Field::UserId:
        return SiteRecord::UserIdWidth;
    case Field::Password:
        return SiteRecord::PasswordWidth;
    default:
        return SiteRecord::UrlWidth;
    }
}

QString& textOf(SiteEntry& entry, Field field)
{
    switch (field) {
    case Field::Description:
        return entry.description;
    case Field::UserId:
        return entry.userId;
    case Field::Password:
        return entry.password;
    default:
        return entry.url;
    }
}

// A record field shows a line of text: line breaks and other control characters are not text here.
bool holdsControl(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            return true;
        }
    }
    return false;
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Why the row cannot be kept as it is, checked field by field in the record's order.
void judge(ImportRow& row)
{
    if (row.entry.description == SiteRecord::DeletedMarker) {
        row.outcome = ImportRow::Outcome::DeletedMarker;
        row.field = Field::Description;
        return;
    }
    for (const Column& column : columns) {
        const QString& text = textOf(row.entry, column.field);
        ImportRow::Outcome outcome = ImportRow::Outcome::Added;
        if (text.isEmpty() && column.field != Field::Url) {
            outcome = ImportRow::Outcome::Blank;
        } else if (holdsControl(text) || !Gbk::canEncode(text)) {
            outcome = ImportRow::Outcome::NotGbk;
        } else if (!Gbk::fits(text, widthOf(column.field))) {
            outcome = ImportRow::Outcome::TooLong;
        }
        if (outcome != ImportRow::Outcome::Added) {
            row.outcome = outcome;
            row.field = column.field;
            return;
        }
    }
}

} // namespace

namespace LoginCsv {

Table read(const QByteArray& file)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray bytes = file.startsWith(bom) ? file.mid(bom.size()) : file;
    const bool utf8 = isUtf8(bytes);
    const auto decode = [utf8](const QByteArray& text) {
        return (utf8 ? QString::fromUtf8(text) : Gbk::decode(text.constData(), text.size())).trimmed();
    };

    Table table;
    const QList<Csv::Row> rows = Csv::parse(bytes);
    if (rows.isEmpty()) {
        return table;
    }
    std::array<qsizetype, fieldCount> at;
    at.fill(-1);
    const QList<QByteArray>& names = rows.first().fields;
    for (qsizetype i = names.size() - 1; i >= 0; --i) {
        const QByteArray name = names[i].trimmed().toLower();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            for (const char* known : columns[c].names) {
                if (known && name == known) {
                    at[c] = i;
                    table.recognised = true;
                }
            }
        }
        if (name == "type") {
            at[kindColumn] = i;
        }
    }
    if (!table.recognised) {
        return table;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QList<QByteArray>& fields = rows[r].fields;
        const auto value = [&](int column) {
            return at[column] >= 0 && at[column] < fields.size() ? decode(fields[at[column]]) : QString();
        };
        ImportRow row;
        row.line = rows[r].line;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            textOf(row.entry, columns[c].field) = value(int(c));
        }
        if (row.entry.description.isEmpty()) {
            row.entry.description = hostOf(row.entry.url);
        }
        row.kind = value(kindColumn);
        if (at[kindColumn] >= 0 && row.kind.compare(QLatin1String("login"), Qt::CaseInsensitive) != 0) {
            row.outcome = ImportRow::Outcome::NotLogin;
        } else {
            judge(row);
        }
        table.rows.append(row);
    }
    return table;
}

bool load(const QString& path, Table& table, int& error)
{
    constexpr qint64 largest = 16 << 20;
    const QFileInfo file(path);
    if (file.isFile() && file.size() > largest) {
        error = EFBIG;
        return false;
    }
    QByteArray bytes;
    error = 0;
    if (TextFile::readAll(path, bytes, error) != TextFile::Read::Done) {
        error = error ? error : ENOENT;
        return false;
    }
    table = read(bytes);
    return true;
}

QString namesLookedFor()
{
    QStringList fields;
    for (const Column& column : columns) {
        QStringList names;
        for (const char* name : column.names) {
            if (name) {
                names << QLatin1String(name);
            }
        }
        fields << QLatin1String(column.label) + QStringLiteral(": ") + names.join(QStringLiteral(", "));
    }
    return fields.join(QStringLiteral("; "));
}

QString hostOf(const QString& url)
{
    return url.isEmpty() ? QString() : QUrl::fromUserInput(url).host();
}

QByteArray header()
{
    return QByteArrayLiteral("name,url,username,password,note\r\n");
}

QByteArray row(const SiteEntry& entry)
{
    return Csv::field(entry.description.toUtf8()) + ',' + Csv::field(entry.url.toUtf8()) + ','
        + Csv::field(entry.userId.toUtf8()) + ',' + Csv::field(entry.password.toUtf8()) + ",\r\n";
}

} // namespace LoginCsv
