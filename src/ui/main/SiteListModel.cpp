#include "SiteListModel.h"

void SiteListModel::setNames(const SiteNames& names)
{
    beginResetModel();
    m_names = names;
    endResetModel();
}

int SiteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_names.count();
}

QVariant SiteListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return m_names.line(index.row());
}
