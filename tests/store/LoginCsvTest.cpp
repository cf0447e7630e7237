#include "LoginCsv.h"
#include "LoginExport.h"
#include "LoginImport.h"

#include "FakeDataFolder.h"
#include "QtPrinters.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

using Outcome = ImportRow::Outcome;
using Field = SiteEntry::Field;

struct HeaderCase
{
    const char* exporter;
    QByteArray csv;
    SiteEntry expected;
};

// One login as each program writes it: every field lands where it belongs.
TEST(LoginCsvTest, ReadsTheHeadersOfEachExporter)
{
    const QByteArray gbkSheet = QStringEncoder("GBK").encode(
        QStringLiteral("Title,User Name,Password,Web Site\r\n工商银行,张伟,\"密,码\"\"1\",https://icbc.com.cn\r\n"));
    const SiteEntry login {"Example", "zhang", "p,\"w", "https://example.com/login"};
    const HeaderCase cases[] = {
        {"Chrome", "name,url,username,password,note\r\nExample,https://example.com/login,zhang,\"p,\"\"w\",\r\n",
            login},
        {"Firefox",
            "\xEF\xBB\xBF\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\","
            "\"timeLastUsed\",\"timePasswordChanged\"\n\"https://example.com:8443/login\",\"zhang\",\"p,\"\"w\",,"
            "\"https://example.com\",\"{1}\",\"1\",\"1\",\"1\"\n",
            {"example.com", "zhang", "p,\"w", "https://example.com:8443/login"}},
        {"Bitwarden",
            "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n"
            ",,login,Example,\"two\nlines\",,0,https://example.com/login,zhang,\"p,\"\"w\",\n",
            login},
        {"KeePassXC",
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
            "\"Created\"\n\"Root\",\"Example\",\"zhang\",\"p,\"\"w\",\"https://example.com/"
            "login\",\"\",\"\",\"0\",\"x\","
            "\"x\"\n",
            login},
        {"Safari",
            "Title,URL,Username,Password,Notes,OTPAuth\r\nExample,https://example.com/login,zhang,\"p,\"\"w\",,\r\n",
            login},
        {"LastPass",
            "url,username,password,totp,extra,name,grouping,fav\nhttps://example.com/login,zhang,\"p,\"\"w\",,,"
            "  Example  ,,0\n",
            login},
        {"GBK sheet", gbkSheet,
            {QStringLiteral("工商银行"), QStringLiteral("张伟"), QStringLiteral("密,码\"1"), "https://icbc.com.cn"}},
    };
    for (const HeaderCase& c : cases) {
        const LoginCsv::Table table = LoginCsv::read(c.csv);
        ASSERT_TRUE(table.recognised && table.rows.size() == 1) << c.exporter;
        const ImportRow& row = table.rows.first();
        EXPECT_TRUE(row.outcome == Outcome::Added && row.line == 2) << c.exporter;
        const auto fields = [](const SiteEntry& e) { return QStringList {e.description, e.userId, e.password, e.url}; };
        EXPECT_EQ(fields(row.entry), fields(c.expected)) << c.exporter;
    }
}

// Rows kept back, each named by the line it starts on: a quoted line break moves the lines after it.
TEST(LoginCsvTest, NamesEachRowItCannotKeepByItsLine)
{
    const QByteArray csv = "type,name,url,username,password\r\n"
                           "login,\"two\r\nlines\",,u,p\r\n" // 2: a line break in the description
                           "login,,,u,p\r\n" // 4: no description, no address
                           "login,a,,,p\r\n" // 5
                           "login,a,,u,\r\n" // 6
                           "login,(Deleted),,u,p\r\n" // 7
                           "note,a,,u,p\r\n" // 8
                           "login,a,,u,\xF0\x9F\x94\x91\r\n" // 9: a key emoji
                           "login,a,,123456789012345678901234567890123456,p\r\n" // 10
                           "login,a,http://x.org/"
        + QByteArray(190, 'x')
        + ",u,p\r\n" // 11
          "\r\n"
          "login,\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0\xE4\xBC\x9F"
          "\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0\xE4\xBC\x9F"
          "\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0\xE4\xBC\x9F\xE5\xBC\xA0,,u,p\r\n" // 13: 17 ideographs, 34 bytes
          "login,http://a.org,,u,p\r\n"; // 14: a description that is an address stays one
    const struct
    {
        int line;
        Outcome outcome;
        Field field;
    } expected[] = {{2, Outcome::NotGbk, Field::Description}, {4, Outcome::Blank, Field::Description},
        {5, Outcome::Blank, Field::UserId}, {6, Outcome::Blank, Field::Password},
        {7, Outcome::DeletedMarker, Field::Description}, {8, Outcome::NotLogin, Field::None},
        {9, Outcome::NotGbk, Field::Password}, {10, Outcome::TooLong, Field::UserId},
        {11, Outcome::TooLong, Field::Url}, {13, Outcome::Added, Field::None}, {14, Outcome::Added, Field::None}};
    const LoginCsv::Table table = LoginCsv::read(csv);
    ASSERT_EQ(table.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(table.rows[i].line, expected[i].line);
        EXPECT_EQ(table.rows[i].outcome, expected[i].outcome) << "line " << expected[i].line;
        EXPECT_EQ(table.rows[i].field, expected[i].field) << "line " << expected[i].line;
    }
    EXPECT_EQ(table.rows[5].kind, "note");
    EXPECT_EQ(table.rows.last().entry.description, "http://a.org");
}

class LoginImportTest : public ::testing::Test
{
protected:
    LoginImportTest() { folder.folder = dir.path(); }

    QString records() const { return dir.path() + "/Sitewarden2.dta"; }
    LoginImport::Report import(const QByteArray& csv, bool write = true)
    {
        return LoginImport(folder).run(LoginCsv::read(csv).rows, write);
    }

    QTemporaryDir dir;
    FakeDataFolder folder;
};

// Free slots first, then the end; every byte held stays; nothing twice, from the file or the CSV.
TEST_F(LoginImportTest, AddsOnlyWhatTheFileLacks)
{
    RecordFiles::write(records(), RecordFiles::six());
    const QByteArray csv = "name,username,password,url\n"
                           " two , u2 ,p2,\n" // held, once trimmed
                           "a,ua,pa,\n"
                           "b,ub,pb,\n"
                           "a,ua,pa,\n" // repeated in the CSV
                           "c,uc,pc,http://c\n";
    for (const bool write : {false, true}) {
        const LoginImport::Report r = import(csv, write);
        EXPECT_TRUE(r.added == 3 && r.alreadyHeld == 2 && r.notAdded == 0) << write;
    }
    QByteArray expected = RecordFiles::six();
    expected.replace(2 * 307, 307, RecordFiles::record(3, "a", "ua", "pa"));
    expected.replace(4 * 307, 307, RecordFiles::record(5, "b", "ub", "pb"));
    expected += RecordFiles::record(7, "c", "uc", "pc", "http://c");
    EXPECT_EQ(RecordFiles::read(records()), expected);

    EXPECT_EQ(import(csv).added, 0);
    EXPECT_EQ(RecordFiles::read(records()), expected);
}

TEST_F(LoginImportTest, NamesEachRowPastTheLastSlotAndMakesNoFileOnATrial)
{
    EXPECT_EQ(import("name,username,password\na,u,p\n", false).added, 1);
    EXPECT_FALSE(QFile::exists(records()));

    QByteArray full;
    for (int slot = 1; slot < 32767; ++slot) {
        full += RecordFiles::record(slot, "x" + QByteArray::number(slot), "u", "p");
    }
    RecordFiles::write(records(), full);
    const LoginImport::Report report = import("name,username,password\nx1,u,p\na,u,p\nb,u,p\nc,u,p\n");
    ASSERT_TRUE(report.added == 1 && report.alreadyHeld == 1 && report.notAdded == 2);
    EXPECT_TRUE(report.rows[2].outcome == Outcome::Full && report.rows[3].outcome == Outcome::Full);
    EXPECT_EQ(RecordFiles::read(records()), full + RecordFiles::record(32767, "a", "u", "p"));
}

// Out and back into an empty folder: the same entries in the same order; bytes GBK cannot decode
// go out as the replacement character, and are named.
TEST_F(LoginImportTest, ExportsWhatAnImportBringsBack)
{
    RecordFiles::write(records(),
        RecordFiles::six() + RecordFiles::record(7, "\xD5\xC5\xCE\xB0 \"q\", x", "u,7", "p\"7\"", "http://7")
            + RecordFiles::record(8, "bad\x81", "u8", "p8"));
    const LoginExport::Result out = LoginExport(folder).run();
    EXPECT_FALSE(out.failure.failed());
    EXPECT_EQ(out.entries, 6);
    EXPECT_TRUE(out.undecodable.size() == 1 && out.undecodable.first().slot == 8);
    EXPECT_TRUE(out.csv.startsWith("name,url,username,password,note\r\none,http://one,u1,p1,\r\n"));

    QTemporaryDir other;
    folder.folder = other.path();
    EXPECT_EQ(import(out.csv).added, 5);
    EXPECT_EQ(LoginExport(folder).run().csv, out.csv.left(out.csv.lastIndexOf("bad")));
}

} // namespace
