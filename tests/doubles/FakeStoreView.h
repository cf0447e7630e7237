#pragma once

#include "StoreView.h"

#include <QMap>

// The controls the store reaches, as plain values.
class FakeStoreView : public StoreView
{
public:
    QString boxText(Box box) const override { return boxes.value(box); }
    void setBoxText(Box box, const QString& text) override { boxes[box] = text; }
    void setSiteList(const QStringList& lines) override
    {
        siteLines = lines;
        ++listFills;
    }

    QMap<Box, QString> boxes;
    QStringList siteLines;
    int listFills = 0;
};
