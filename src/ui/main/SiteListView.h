#pragma once

#include <QListView>

// The site list (List1) as the keyboard and the desktop meet it. No line is current until a key
// moves onto one, so that the key choosing the first line is heard: Qt's list makes that line
// current, unchosen, as the focus comes in, and a screen reader then says nothing of the key. And
// what an input method commits goes to the first line that starts with it, as a typed letter does:
// Qt's list turns input methods off unless its lines can be edited.
class SiteListView : public QListView
{
    Q_OBJECT

public:
    explicit SiteListView(QWidget* parent = nullptr);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};
