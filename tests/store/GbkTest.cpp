#include "Gbk.h"
#include "SiteRecord.h"

#include "RecordFiles.h"

#include <gtest/gtest.h>

namespace {

struct FieldCase
{
    const char* what;
    QString text;
    int width;
    QByteArray expected;
};

QString repeated(const char* utf8, int times)
{
    return QString::fromUtf8(utf8).repeated(times);
}

TEST(GbkField, EncodesBlankPaddedAndCutAtCharacterBoundary)
{
    const FieldCase cases[] = {
        {"short ASCII is padded", QStringLiteral("abc"), 5, QByteArray("abc  ")},
        {"40 characters keep their first 35", QString(40, QLatin1Char('a')), 35, QByteArray(35, 'a')},
        {"Chinese in GBK", QStringLiteral("中文"), 6, QByteArray::fromHex("d6d0cec42020")},
        {"euro sign is byte 0x80", QStringLiteral("€1"), 3, QByteArray::fromHex("803120")},
        {"a euro sign fills the last byte", QStringLiteral("ab€"), 3, QByteArray::fromHex("616280")},
        {"a straddling character is dropped whole", repeated("中", 18), 35,
            QByteArray::fromHex(QByteArray("d6d0").repeated(17)) + ' '},
        {"single byte then straddle", QStringLiteral("a中"), 2, QByteArray("a ")},
        {"a text of exactly the width", QString(200, QLatin1Char('u')), 200, QByteArray(200, 'u')},
        {"character GBK lacks becomes ?", QString::fromUtf8("a\xF0\x9F\x98\x80"), 3, QByteArray("a? ")},
        {"empty text is all blanks", QString(), 4, QByteArray("    ")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Gbk::encodeField(c.text, c.width).toHex(), c.expected.toHex()) << c.what;
    }
}

TEST(GbkField, DecodesAndTrims)
{
    const struct
    {
        const char* what;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"never written field of zeros", QByteArray(35, '\0'), QString()},
        {"blank padded ASCII", RecordFiles::field("  site  ", 35), QStringLiteral("site")},
        {"GBK Chinese", RecordFiles::field(QByteArray::fromHex("d6d0cec4"), 35), QStringLiteral("中文")},
        {"inner blanks stay", RecordFiles::field("a b", 35), QStringLiteral("a b")},
        {"tabs are not blanks", RecordFiles::field("\tx\t", 35), QStringLiteral("\tx\t")},
        {"byte 0x80 is the euro sign", RecordFiles::field(QByteArray::fromHex("8035"), 35), QStringLiteral("€5")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Gbk::trimBlanks(Gbk::decodeField(c.bytes.constData(), int(c.bytes.size()))), c.expected) << c.what;
    }
}

TEST(GbkField, FitsOnlyWhatTheFieldHoldsExactly)
{
    EXPECT_TRUE(Gbk::fits(QString(35, QLatin1Char('x')), 35));
    EXPECT_FALSE(Gbk::fits(QString(36, QLatin1Char('x')), 35));
    EXPECT_TRUE(Gbk::fits(repeated("密", 17), 35));
    EXPECT_FALSE(Gbk::fits(repeated("密", 18), 35));
    EXPECT_FALSE(Gbk::fits(QString::fromUtf8("\xF0\x9F\x98\x80"), 35));
}

TEST(SiteRecordBytes, RoundTripsEveryFieldAtItsOffset)
{
    const SiteEntry entry {QStringLiteral("银行"), "user", "p w", "http://www.example.org/"};
    const QByteArray bytes = SiteRecord::bytes(258, entry);

    EXPECT_EQ(
        bytes, RecordFiles::record(258, QByteArray::fromHex("d2f8d0d0"), "user", "p w", "http://www.example.org/"));
    const SiteEntry back = SiteRecord::entry(bytes.constData());
    EXPECT_EQ(back.description, entry.description);
    EXPECT_EQ(back.userId, entry.userId);
    EXPECT_EQ(back.password, entry.password);
    EXPECT_EQ(back.url, entry.url);
}

} // namespace
