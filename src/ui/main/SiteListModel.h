#pragma once

#include "SiteNames.h"

#include <QAbstractListModel>

// List1's lines, decoded only as the view asks for them.
class SiteListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(const SiteNames& names);
    const SiteNames& names() const { return m_names; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    SiteNames m_names;
};
