#pragma once

#include <QAccessibleWidget>

class QLineEdit;

// A line edit as screen readers see it, in place of Qt's own, which hangs: Qt 6.4 and 6.8 alike never
// answer a query for the word at the end of the text (Orca asks for it when the user moves by word),
// and 6.4 reports text attributes in empty runs, from which Orca builds a line one character short.
// Characters and sentences are found as Qt finds them in its multi-line editors, words as GTK's
// entries give them; attributes cover the text.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit* edit);

    // Puts this interface in front of Qt's for every line edit.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const override;
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const override;
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset, int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QLineEdit* lineEdit() const;
    // An offset as given made one of the text (-2 the cursor's, -1 the end); false for none there is.
    bool textOffset(int& offset) const;
    // The item of the given kind around `offset` (the text's length included): its start and end.
    QPair<int, int> itemAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
    // The text of an item, its offsets given back; nothing, at -1, where there is none.
    QString item(QPair<int, int> bounds, int* startOffset, int* endOffset) const;
};
