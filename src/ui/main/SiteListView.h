#pragma once

#include <QListView>

// The site list (List1) as the keyboard, the pointer and the desktop meet it. No line is current
// until a key moves onto one, so that the key choosing the first line is heard: Qt's list makes
// that line current, unchosen, as the focus comes in, and a screen reader then says nothing of the
// key; with no line chosen, the first key that moves (or Space) chooses line 1. What an input method
// commits goes to the first line that starts with it, as a typed letter does: Qt's list turns input
// methods off unless its lines can be edited. The tooltip names the chosen line wherever the
// pointer is over the list.
class SiteListView : public QListView
{
    Q_OBJECT

public:
    explicit SiteListView(QWidget* parent = nullptr);

    // The chosen line, or -1.
    int chosenLine() const;
    // The tooltip made to name the chosen line.
    void updateTip();

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // A click on the line already chosen, which changes no selection.
    void chosenLineClicked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Said to a screen reader after the list's own focus event: the line the list stands on.
    void announceCurrentLine();

    int m_lineBeforePress = -1;
};
