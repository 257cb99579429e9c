// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistmodel.h"

int ItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_names.at(index.row());
    return QVariant();
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex &index) const
{
    // Chosen, never edited: the list is choose-only.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

bool ItemListModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_names.size() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_names.insert(row, count, QString());
    endInsertRows();
    return true;
}

bool ItemListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole && role != Qt::DisplayRole)
        return false;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    m_names[index.row()] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ItemListModel::addItems(const QStringList &names)
{
    if (names.isEmpty())
        return;
    const auto first = int(m_names.size());
    beginInsertRows(QModelIndex(), first, first + int(names.size()) - 1);
    if (m_names.isEmpty())
        m_names = names; // shared, not copied
    else
        m_names += names;
    endInsertRows();
}

void ItemListModel::shareNames(const ItemListModel &other)
{
    if (m_names == other.m_names)
        m_names = other.m_names;
}
