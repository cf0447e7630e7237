#pragma once

#include "Platform.h"

#include <QObject>

#include <functional>

class QLineEdit;

// A click on the web address box (TxtURL) opens its address in the user's browser, asking first when
// the option says so. Only http and https addresses are opened: a click must never start a local
// program or open a file. The release that ends a double click is no click of its own.
class AddressLauncher : public QObject
{
    Q_OBJECT

public:
    // `askFirst` tells whether opening asks, as the option stands at the click.
    AddressLauncher(QLineEdit* box, const Platform& platform, std::function<bool()> askFirst, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open();

    QLineEdit* m_box;
    Platform m_platform;
    std::function<bool()> m_askFirst;
    bool m_doubleClicked = false;
};
