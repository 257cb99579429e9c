// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistfilter.h"

#include "itemlistmodel.h"

#include <algorithm>

ItemListFilter::ItemListFilter(const ItemListModel *entries, QObject *parent)
    : QAbstractListModel(parent)
    , m_entries(entries)
{
    // The list is filled once, before it is first opened; should it change anyway, the rows
    // shown are worked out afresh rather than patched.
    const auto changed = [this] {
        beginResetModel();
        refilter(false);
        endResetModel();
    };
    connect(entries, &QAbstractItemModel::rowsInserted, this, changed);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(entries, &QAbstractItemModel::modelReset, this, changed);
    connect(entries, &QAbstractItemModel::dataChanged, this, changed);
}

int ItemListFilter::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_text.isEmpty() ? m_entries->rowCount() : int(m_shown.size());
}

QVariant ItemListFilter::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    return m_entries->data(m_entries->index(entry(index.row())), role);
}

Qt::ItemFlags ItemListFilter::flags(const QModelIndex &index) const
{
    return m_entries->flags(m_entries->index(entry(index.row())));
}

void ItemListFilter::setText(const QString &text)
{
    if (text == m_text)
        return;
    // Typing on only narrows what is shown: a name that holds the longer text holds the
    // shorter one too, so only the rows already shown need a look.
    const bool narrowing = !m_text.isEmpty() && text.contains(m_text, Qt::CaseInsensitive);
    beginResetModel();
    m_text = text;
    refilter(narrowing);
    endResetModel();
}

int ItemListFilter::entry(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return m_text.isEmpty() ? row : m_shown.at(row);
}

int ItemListFilter::row(int entry) const
{
    if (entry < 0 || entry >= m_entries->rowCount())
        return -1;
    if (m_text.isEmpty())
        return entry;
    const auto it = std::lower_bound(m_shown.cbegin(), m_shown.cend(), entry);
    return it != m_shown.cend() && *it == entry ? int(it - m_shown.cbegin()) : -1;
}

void ItemListFilter::refilter(bool withinShown)
{
    if (m_text.isEmpty()) {
        m_shown = QList<int>(); // gives the memory back
        return;
    }
    const auto matches = [&](int entry) {
        return m_entries->name(entry).contains(m_text, Qt::CaseInsensitive);
    };
    if (withinShown) {
        m_shown.removeIf([&](int entry) { return !matches(entry); });
        return;
    }
    m_shown.clear();
    for (int entry = 0, count = m_entries->rowCount(); entry < count; ++entry) {
        if (matches(entry))
            m_shown.append(entry);
    }
}
