#pragma once

#include <QClipboard>
#include <QObject>

class QLineEdit;

// Whatever a box holding a password puts on the clipboard or the selection (a copy, a mouse or
// keyboard selection) carries the mark that keeps clipboard managers from recording it.
class SecretSelection : public QObject
{
    Q_OBJECT

public:
    explicit SecretSelection(QLineEdit* box);

private:
    void mark(QClipboard::Mode mode);

    QLineEdit* m_box;
};
