#include "DefaultUserIdDialog.h"
#include "LineEditAccessible.h"

#include "FakeBeeper.h"
#include "RecordFiles.h"
#include "WindowTest.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QLabel>

namespace {

struct Item
{
    QString text;
    int start;
    int end;
};

bool operator==(const Item& a, const Item& b)
{
    return a.text == b.text && a.start == b.start && a.end == b.end;
}

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    return out << '"' << item.text.toStdString() << "\" " << item.start << '-' << item.end;
}

enum class Query { At, Before, After };

Item ask(QAccessibleTextInterface* text, Query query, int offset, QAccessible::TextBoundaryType type)
{
    Item item;
    switch (query) {
    case Query::At:
        item.text = text->textAtOffset(offset, type, &item.start, &item.end);
        break;
    case Query::Before:
        item.text = text->textBeforeOffset(offset, type, &item.start, &item.end);
        break;
    case Query::After:
        item.text = text->textAfterOffset(offset, type, &item.start, &item.end);
        break;
    }
    return item;
}

// What a screen reader asks of a box: every boundary at every offset, the end of the text included,
// and the attribute runs it builds the line from. Each answer must come at once and fit the value.
TEST(ScreenReaderTest, EveryBoxAnswersEveryBoundaryAtEveryOffset)
{
    LineEditAccessible::install();
    const QString values[]
        = {QString(), "zhang", "zhang wei", QStringLiteral("网上银行 工商"), "abcdefghij klmnopqrst uvwxyz 012345"};
    const QAccessible::TextBoundaryType types[]
        = {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
            QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary};
    QLineEdit edit;
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&edit)->textInterface();
    ASSERT_NE(text, nullptr);
    for (const QString& value : values) {
        edit.setText(value);
        const int length = int(value.size());
        QElapsedTimer clock;
        clock.start();
        for (int offset = 0; offset <= length; ++offset) {
            for (const auto type : types) {
                const std::string where
                    = value.toStdString() + " at " + std::to_string(offset) + " by " + std::to_string(int(type));
                const Item at = ask(text, Query::At, offset, type);
                if (length == 0) {
                    EXPECT_TRUE(at.text.isEmpty()) << where;
                    continue;
                }
                EXPECT_EQ(at.text, value.mid(at.start, at.end - at.start)) << where;
                EXPECT_TRUE(at.start <= offset && offset <= at.end) << where << ": " << at;
                const bool whole = type != QAccessible::CharBoundary && type != QAccessible::WordBoundary;
                if (whole) {
                    EXPECT_EQ(at, (Item {value, 0, length})) << where;
                } else if (type == QAccessible::CharBoundary) {
                    EXPECT_EQ(at, (Item {value.mid(offset, 1), offset, qMin(offset + 1, length)})) << where;
                } else {
                    // A word and the blanks after it, up to the next word: the last one at the end of the text.
                    EXPECT_FALSE(at.text.isEmpty() || at.text.startsWith(' ') || at.text.trimmed().contains(' '))
                        << where << ": " << at;
                    EXPECT_TRUE(at.end == length || value.at(at.end) != ' ') << where << ": " << at;
                }
                const Item before = ask(text, Query::Before, offset, type);
                const Item after = ask(text, Query::After, offset, type);
                if (!before.text.isEmpty()) {
                    EXPECT_TRUE(
                        before.end <= at.start && before.text == value.mid(before.start, before.end - before.start))
                        << where << ": " << before;
                }
                if (!after.text.isEmpty()) {
                    EXPECT_TRUE(after.start >= at.end && after.text == value.mid(after.start, after.end - after.start))
                        << where << ": " << after;
                }
            }
            int start = -1, end = -1;
            text->attributes(offset, &start, &end);
            EXPECT_TRUE(start == 0 && end == length) << value.toStdString() << " attributes at " << offset;
        }
        EXPECT_LT(clock.elapsed(), 1000) << value.toStdString();
    }

    // Moving by word, as Orca does from the start of "zhang wei", reaches each word and then the end;
    // Ctrl+Right to the start of "wei" crosses "zhang ".
    edit.setText("zhang wei");
    EXPECT_EQ(ask(text, Query::At, 0, QAccessible::WordBoundary), (Item {"zhang ", 0, 6}));
    EXPECT_EQ(ask(text, Query::After, 0, QAccessible::WordBoundary), (Item {"wei", 6, 9}));
    EXPECT_EQ(ask(text, Query::At, 9, QAccessible::WordBoundary), (Item {"wei", 6, 9}));
    EXPECT_EQ(ask(text, Query::Before, 9, QAccessible::WordBoundary), (Item {"zhang ", 0, 6}));
    EXPECT_EQ(ask(text, Query::After, 9, QAccessible::WordBoundary).text, QString());
    EXPECT_EQ(ask(text, Query::At, 9, QAccessible::CharBoundary), (Item {"", 9, 9}));
}

using ListKeysTest = WindowTest;

// Tab into a list with no line chosen, then Down: the first line is chosen and shown, as a click on
// it would (Qt's list chose the second, the focus frame standing on the first). Then what an input
// method commits goes to the first line that starts with it, as a letter does: input methods stay on.
TEST_F(ListKeysTest, TheFirstKeyInAListWithNoLineChosenChoosesLineOne)
{
    RecordFiles::write(dataFile("Sitewarden2.dta"),
        RecordFiles::record(1, "bank", "u1", "p1") + RecordFiles::record(2, "mail", "u2", "p2")
            + RecordFiles::record(3, "\xcd\xf5\xb8\xae", "u3", "p3"));
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Home, Qt::Key_Up, Qt::Key_Space}) {
        MainWindow window(platform.services());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QListView* list = Controls(window).List1;
        Controls(window).TxtUser->setText("typed");
        list->setFocus(Qt::TabFocusReason);
        // No line is current before the key: the key that moves onto line 1 is then heard.
        EXPECT_FALSE(list->currentIndex().isValid()) << key;
        QTest::keyClick(list, key);
        EXPECT_EQ(chosenLine(window), 0) << key;
        EXPECT_EQ(Controls(window).TxtUser->text(), "u1") << key;
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(Controls(window).TxtUser->text(), "u2") << key;
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(list, &query);
        EXPECT_TRUE(list->testAttribute(Qt::WA_InputMethodEnabled) && query.value(Qt::ImEnabled).toBool()) << key;
        typeText(list, QStringLiteral("王"));
        EXPECT_EQ(Controls(window).TxtUser->text(), "u3") << key;
        // The candidates show at the chosen line.
        const QRect line = list->visualRect(list->currentIndex()).translated(list->viewport()->pos());
        EXPECT_EQ(list->inputMethodQuery(Qt::ImCursorRectangle).toRect(), line) << key;
    }
}

TEST(ScreenReaderDialogTest, TheDialogsFieldIsDescribedByItsSecondLabel)
{
    TestPlatform platform;
    QTemporaryDir dir;
    platform.dataFolder.folder = dir.path();
    MainWindow window(platform.services());
    DefaultUserIdFile file(platform.dataFolder);
    DefaultUserIdDialog dialog(QString(), file, platform.beeper, &window);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(DialogControls(dialog).Text1)->text(QAccessible::Description),
        QStringLiteral("你最常用的电子邮件地址."));
}

} // namespace
