#pragma once

#include <QDialog>

class Beeper;
class DefaultUserIdFile;
class QLabel;
class QLineEdit;
class QPushButton;

// The small dialog, without title bar, in which the user edits the default user ID.
class frmDefault : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 297;
    static constexpr int ClientHeight = 85;

    frmDefault(DefaultUserIdFile& defaultUserId, Beeper& beeper, QWidget* owner);

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Command1_Click();

    QPushButton* Command1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    DefaultUserIdFile& m_defaultUserId;
    Beeper& m_beeper;
};
