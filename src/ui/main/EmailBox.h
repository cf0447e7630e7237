#pragma once

#include "Platform.h"

#include <QObject>
#include <QStringList>

#include <functional>

class EmailList;
class QComboBox;
class QPushButton;

// The e-mail box (Combo2) and its two commands, 保存(A) and 擦除(R): the addresses of the e-mail
// file, the one the user chose or what they are typing. When the file changes elsewhere, the address
// chosen stays chosen wherever it now stands, and nothing is chosen in its place when it is gone.
class EmailBox : public QObject
{
    Q_OBJECT

public:
    // `lookAtFiles` runs before each command: what changed elsewhere is read in first.
    EmailBox(QComboBox* box, QPushButton* save, QPushButton* erase, EmailList& emails, const Platform& platform,
        std::function<void()> lookAtFiles, QObject* parent);

    // Start-up: the file's addresses, the first chosen.
    void load();
    // The file changed elsewhere.
    void follow();

private:
    void save();
    void erase();
    // The addresses, the first chosen.
    void show(const QStringList& addresses);
    // The address chosen, -1 where the user typed one or none is chosen.
    int chosenIndex() const;

    QComboBox* m_box;
    EmailList& m_emails;
    Platform m_platform;
    std::function<void()> m_lookAtFiles;
    // Typing into the edit field leaves no item chosen.
    bool m_typed = false;
    // The address the user chose was taken away elsewhere: an erase has nothing to act on.
    bool m_taken = false;
};
