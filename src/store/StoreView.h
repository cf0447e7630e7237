#pragma once

#include "SiteNames.h"

#include <QString>
#include <QStringList>

// The controls of the main window that the store routines read and write.
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

    virtual QString boxText(Box box) const = 0;
    virtual void setBoxText(Box box, const QString& text) = 0;

    // Replaces every line of List1.
    virtual void setSiteList(const SiteNames& lines) = 0;
    // The lines List1 shows now.
    virtual SiteNames siteList() const = 0;

    // Combo2: its items, the selected item (-1 for none, also while the edit field holds a typed
    // text) and the text of its edit field.
    virtual QStringList emailItems() const = 0;
    // Replaces every item and empties the edit field; no item is selected.
    virtual void setEmailItems(const QStringList& items) = 0;
    virtual int emailIndex() const = 0;
    virtual void setEmailIndex(int index) = 0;
    virtual QString emailText() const = 0;

    // Shows the default user ID dialog and returns once it has closed.
    virtual void showDefaultUserIdDialog() = 0;
};
