#include "LineEditAccessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A word and the blanks after it, from the start of the word at or before `offset` to the start of
// the next, as AT-SPI's word-start boundary has it and GTK's entries answer: Orca takes the words a
// move by word crosses from these, and says nothing where a word ends short of the next one's start.
QPair<int, int> wordAt(const QString& value, int offset)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, value);
    // Qt starts no word at an ideograph: there, the end of the blanks before it starts one.
    const auto startsWord = [&finder, &value](int position) {
        finder.setPosition(position);
        return finder.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem)
            || (value.at(position - 1).isSpace() && !value.at(position).isSpace());
    };
    const int length = int(value.size());
    int start = qBound(0, offset, length);
    while (start > 0 && !startsWord(start)) {
        --start;
    }
    int end = qMin(start + 1, length);
    while (end < length && !startsWord(end)) {
        ++end;
    }
    return {start, end};
}

QAccessibleInterface* lineEditFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEdit") && object && object->isWidgetType()) {
        return new LineEditAccessible(static_cast<QLineEdit*>(object));
    }
    return nullptr;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{ }

void LineEditAccessible::install()
{
    QAccessible::installFactory(lineEditFactory);
}

QLineEdit* LineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit*>(widget());
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !lineEdit()->isReadOnly();
    state.readOnly = lineEdit()->isReadOnly();
    state.selectableText = true;
    state.passwordEdit = lineEdit()->echoMode() != QLineEdit::Normal;
    return state;
}

QString LineEditAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value) {
        return lineEdit()->echoMode() == QLineEdit::Normal ? lineEdit()->text() : QString();
    }
    return QAccessibleWidget::text(type);
}

void LineEditAccessible::setText(QAccessible::Text type, const QString& text)
{
    if (type == QAccessible::Value) {
        lineEdit()->setText(text);
        return;
    }
    QAccessibleWidget::setText(type, text);
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && lineEdit()->hasSelectedText()) {
        *startOffset = lineEdit()->selectionStart();
        *endOffset = lineEdit()->selectionEnd();
    }
}

int LineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0) {
        lineEdit()->deselect();
    }
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0) {
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
    }
}

int LineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    if (lineEdit()->echoMode() != QLineEdit::Normal || startOffset > endOffset) {
        return {};
    }
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const
{
    return int(lineEdit()->text().size());
}

QPair<int, int> LineEditAccessible::itemAt(int offset, QAccessible::TextBoundaryType boundaryType) const
{
    const QString value = lineEdit()->text();
    switch (boundaryType) {
    case QAccessible::WordBoundary:
        return wordAt(value, offset);
    case QAccessible::CharBoundary:
    case QAccessible::SentenceBoundary: {
        QTextDocument document(value);
        QTextCursor cursor(&document);
        cursor.setPosition(qBound(0, offset, int(value.size())));
        return QAccessible::qAccessibleTextBoundaryHelper(cursor, boundaryType);
    }
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::NoBoundary:
        break;
    }
    // One line, one paragraph.
    return {0, int(value.size())};
}

bool LineEditAccessible::textOffset(int& offset) const
{
    const int count = characterCount();
    offset = offset == -2 ? cursorPosition() : offset == -1 ? count : offset;
    return lineEdit()->echoMode() == QLineEdit::Normal && offset >= 0 && offset <= count;
}

QString LineEditAccessible::item(QPair<int, int> bounds, int* startOffset, int* endOffset) const
{
    *startOffset = bounds.first;
    *endOffset = bounds.second;
    if (bounds.first < 0) {
        return {};
    }
    return text(bounds.first, bounds.second);
}

QString LineEditAccessible::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const
{
    if (!textOffset(offset)) {
        return item({-1, -1}, startOffset, endOffset);
    }
    return item(itemAt(offset, boundaryType), startOffset, endOffset);
}

QString LineEditAccessible::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const
{
    if (!textOffset(offset)) {
        return item({-1, -1}, startOffset, endOffset);
    }
    // The items lie end to end: the one before ends where this one starts.
    const QPair<int, int> at = itemAt(offset, boundaryType);
    return item(at.first > 0 ? itemAt(at.first - 1, boundaryType) : QPair<int, int>(-1, -1), startOffset, endOffset);
}

QString LineEditAccessible::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const
{
    if (!textOffset(offset)) {
        return item({-1, -1}, startOffset, endOffset);
    }
    const QPair<int, int> at = itemAt(offset, boundaryType);
    const bool last = at.second >= characterCount();
    return item(last ? QPair<int, int>(-1, -1) : itemAt(at.second, boundaryType), startOffset, endOffset);
}

QRect LineEditAccessible::characterRect(int offset) const
{
    const QLineEdit* edit = lineEdit();
    const QFontMetrics metrics = edit->fontMetrics();
    const QString value = edit->text();
    if (edit->echoMode() != QLineEdit::Normal || offset < 0 || offset > value.size()) {
        return {};
    }
    // Where the line edit draws its text: inside its frame and margins, two pixels in.
    const QRect area = edit->contentsRect().marginsRemoved(edit->textMargins());
    const int x = area.left() + 2 + metrics.horizontalAdvance(value.left(offset));
    const int width = offset < value.size() ? metrics.horizontalAdvance(value.at(offset)) : 0;
    const int y = area.top() + (area.height() - metrics.height()) / 2;
    return QRect(edit->mapToGlobal(QPoint(x, y)), QSize(width, metrics.height()));
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = lineEdit()->mapFromGlobal(point);
    return lineEdit()->rect().contains(local) ? lineEdit()->cursorPositionAt(local) : -1;
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return {};
    }
    // The whole text is drawn in one font: one run over all of it.
    *startOffset = 0;
    *endOffset = count;
    const QFont font = lineEdit()->font();
    return QStringLiteral("font-family:\"%1\";font-size:%2pt;").arg(font.family()).arg(font.pointSizeF());
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (lineEdit()->isReadOnly()) {
        return;
    }
    QString value = lineEdit()->text();
    value.replace(startOffset, endOffset - startOffset, text);
    lineEdit()->setText(value);
}
