#pragma once

#include "SiteNames.h"

#include <QString>
#include <QStringList>

// The main window as the store routines see it. The store tells it what to show; it asks it only
// for what the user typed or chose, never for what it shows: the store keeps what it read.
class StoreView
{
public:
    enum class Box {
        Text1,
        TxtUser,
        TxtPassword,
        TxtURL,
    };

    virtual ~StoreView() = default;

    // The text the user typed into the box.
    virtual QString boxText(Box box) const = 0;
    virtual void setBoxText(Box box, const QString& text) = 0;

    // Replaces every line of List1.
    virtual void setSiteList(const SiteNames& lines) = 0;

    // Combo2: replaces every item and empties the edit field; no item is selected.
    virtual void setEmailItems(const QStringList& items) = 0;
    virtual void setEmailIndex(int index) = 0;
    // The item the user chose: -1 for none, also while the edit field holds a typed text.
    virtual int emailIndex() const = 0;
    // The text of Combo2's edit field.
    virtual QString emailText() const = 0;

    // Shows the default user ID dialog and returns once it has closed.
    virtual void showDefaultUserIdDialog() = 0;
};
