#pragma once

#include <QDialog>

class Beeper;
class DefaultUserIdFile;
class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog, without title bar, in which the user edits the default user ID. Its object
// name is frmDefault, and its controls keep theirs: Text1, Command1, Label1, Label2.
class DefaultUserIdDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 297;
    static constexpr int ClientHeight = 85;

    // Shows `stored`; the file says which other IDs it can hold.
    DefaultUserIdDialog(const QString& stored, const DefaultUserIdFile& file, Beeper& beeper, QWidget* owner);

    // The ID saved with the button, without its blanks.
    QString id() const { return m_id; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void save();

    const DefaultUserIdFile& m_file;
    Beeper& m_beeper;
    QLineEdit* m_field = nullptr;
    QString m_id;
};
