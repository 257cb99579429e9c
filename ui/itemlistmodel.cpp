// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistmodel.h"

int ItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.ends.size());
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return name(index.row()).toString();
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
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    QList<qsizetype> &ends = m_names.ends;
    const qsizetype at = row == 0 ? 0 : ends.at(row - 1) + 1;
    m_names.text.insert(at, QString(count, QChar(u'\0')));
    ends.insert(row, count, 0);
    for (qsizetype i = row; i < ends.size(); ++i)
        ends[i] = i < row + count ? at + (i - row) : ends[i] + count;
    endInsertRows();
    return true;
}

bool ItemListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole && role != Qt::DisplayRole)
        return false;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    QList<qsizetype> &ends = m_names.ends;
    const int row = index.row();
    const qsizetype start = row == 0 ? 0 : ends.at(row - 1) + 1;
    const qsizetype length = ends.at(row) - start;
    const QString name = value.toString();
    m_names.text.replace(start, length, name);
    for (qsizetype i = row; i < ends.size(); ++i)
        ends[i] += name.size() - length;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ItemListModel::addNames(const KeyNames &names)
{
    if (names.ends.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(names.ends.size()) - 1);
    if (m_names.ends.isEmpty()) {
        m_names = names; // shared, not copied
    } else {
        const qsizetype offset = m_names.text.size();
        m_names.text += names.text;
        m_names.ends.reserve(m_names.ends.size() + names.ends.size());
        for (const qsizetype end : names.ends)
            m_names.ends.append(offset + end);
    }
    endInsertRows();
}

void ItemListModel::addItems(const QStringList &names)
{
    KeyNames added;
    added.ends.reserve(names.size());
    for (const QString &name : names) {
        added.text += name;
        added.ends.append(added.text.size());
        added.text += u'\0';
    }
    addNames(added);
}

void ItemListModel::shareNames(const ItemListModel &other)
{
    if (m_names.ends == other.m_names.ends && m_names.text == other.m_names.text)
        m_names = other.m_names;
}

bool ItemListModel::sharesNames(const ItemListModel &other) const
{
    return m_names.text.constData() == other.m_names.text.constData()
            && m_names.ends.constData() == other.m_names.ends.constData();
}
