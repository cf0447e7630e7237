#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

// Text boxes claim keys such as Ctrl+C and Ctrl+A for themselves before the window's menu
// shortcuts see them. Installed on a control, this leaves the given keys to the menus.
class MenuShortcutFilter : public QObject
{
    Q_OBJECT

public:
    MenuShortcutFilter(QList<QKeySequence> sequences, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QKeySequence> m_sequences;
};
