#pragma once

#include "QtPrinters.h"
#include "StoreView.h"

#include <QMap>

// The controls the store reaches, as plain values.
class FakeStoreView : public StoreView
{
public:
    QString boxText(Box box) const override { return boxes.value(box); }
    void setBoxText(Box box, const QString& text) override { boxes[box] = text; }
    void setSiteList(const SiteNames& lines) override
    {
        names = lines;
        siteLines = lines.lines();
        ++listFills;
    }

    void setEmailItems(const QStringList& items) override
    {
        emails = items;
        emailSelected = -1;
        emailEdit.clear();
    }
    int emailIndex() const override { return emailSelected; }
    void setEmailIndex(int index) override
    {
        emailSelected = index;
        emailEdit = emails.value(index);
    }
    QString emailText() const override { return emailEdit; }

    void showDefaultUserIdDialog() override { ++dialogsShown; }

    QMap<Box, QString> boxes;
    SiteNames names;
    QStringList siteLines;
    int listFills = 0;
    int dialogsShown = 0;
    QStringList emails;
    int emailSelected = -1;
    QString emailEdit;
};
