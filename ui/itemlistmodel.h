// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

// The entries of one item list: the catalogue's names, held as one text with where each ends,
// rather than one text or item object each, so that a catalogue of a million names costs little
// more than its text. Rows of the window whose names came out equal share that text (copied on a
// write).
class ItemListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The combo box's own insertItem and addItem come through these two.
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Appends the catalogue's names in one insertion, keeping the text they came in.
    void addNames(const KeyNames &names);
    // Appends the names in one insertion.
    void addItems(const QStringList &names);
    // Takes over other's storage when both hold the same names.
    void shareNames(const ItemListModel &other);
    bool sharesNames(const ItemListModel &other) const;
    // The name of one entry, 0 <= entry < rowCount().
    QStringView name(int entry) const
    {
        const qsizetype start = entry == 0 ? 0 : m_names.ends.at(entry - 1) + 1;
        return QStringView(m_names.text).sliced(start, m_names.ends.at(entry) - start);
    }

private:
    KeyNames m_names;
};
