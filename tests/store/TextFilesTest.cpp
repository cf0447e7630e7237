#include "EmailList.h"

#include "FakeDataFolder.h"
#include "QtPrinters.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// Lines from another code page, a lone lead byte at a line's end, blanks and empty lines: a save
// adds one line and an erase removes one, and every other line's bytes stay as they were.
TEST(EmailListBytes, SaveAndEraseTouchOnlyTheirOwnLine)
{
    const QByteArray foreign = "zo\xeb.smith@x.org\r\nb@x.org\r\n";
    const struct
    {
        const char* what;
        QByteArray file;
        int erase;
        QByteArray written;
        QStringList shown;
    } cases[] = {
        {"save beside a foreign line", foreign, -1, foreign + "c@x.org\r\n",
            {QStringLiteral("zo\uFFFD.smith@x.org"), "b@x.org", "c@x.org"}},
        {"erase after a foreign line", foreign, 1, "zo\xeb.smith@x.org\r\n\r\n",
            {QStringLiteral("zo\uFFFD.smith@x.org")}},
        {"erase the foreign line", foreign, 0, "b@x.org\r\n\r\n", {"b@x.org"}},
        {"lone lead byte at a line end", "a@x.org\xd6\r\nb\xd6", -1, "a@x.org\xd6\r\nb\xd6\r\nc@x.org\r\n",
            {QStringLiteral("a@x.org\uFFFD"), QStringLiteral("b\uFFFD"), "c@x.org"}},
        {"blanks and empty lines", "  a\xd6\xd0  \r\n\r\n   \nb\r", -1, "a\xd6\xd0\r\nb\r\nc@x.org\r\n",
            {QStringLiteral("a中"), "b", "c@x.org"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        FakeDataFolder folder;
        folder.folder = dir.path();
        EmailList list(folder);
        RecordFiles::write(dir.filePath("Email.dta"), c.file);
        list.load();
        const EmailList::Result result = c.erase < 0 ? list.save("c@x.org") : list.erase(c.erase);
        EXPECT_EQ(RecordFiles::read(dir.filePath("Email.dta")), c.written) << c.what;
        EXPECT_EQ(result.addresses, c.shown) << c.what;
        EXPECT_EQ(result.outcome, EmailList::Result::Outcome::Done) << c.what;
    }
}

} // namespace
