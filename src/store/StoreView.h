#pragma once

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
    virtual void setSiteList(const QStringList& lines) = 0;
};
