// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

class ItemListModel;

// The entries that the open item list shows: those of the list whose name contains the typed
// text, ignoring case, in the list's own order. Without a text it shows every entry and keeps
// no row table at all.
class ItemListFilter : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ItemListFilter(const ItemListModel *entries, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setText(const QString &text);
    // The entry of the list shown in row, and back; -1 where there is none.
    int entry(int row) const;
    int row(int entry) const;

private:
    void refilter(bool withinShown);

    const ItemListModel *m_entries;
    QString m_text;
    QList<int> m_shown; // entries shown while there is a text, ascending
};
