// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <string>

class ItemListModel;

// The entries that the open item list shows for the text typed into its find field, best first.
//
// Text and names are compared folded: case is ignored; a letter with accents stands for its
// plain letter ("É" for "e", "ấ" for "a"), as do ligatures and letters written apart ("ﬁ" for
// "fi", "Ａ" for "a"); the few letters that no such rule brings to plain ones are spelled out as
// a reader types them without their mark ("ß" as "ss", "œ" as "oe", "ø" as "o", "ł" as "l");
// every run of white space is one space, and none stands at either end.
//
// - A name is shown when it holds every word of the folded text (its pieces between spaces)
//   somewhere, in any order: "fire sword" finds "Sword of Fire", "legendaire facade" finds
//   "Légendaire Façade", "grosses" finds "Großes".
// - The names shown come in three groups, each in the list's own order: first those whose folded
//   form is the folded text, then those that start with it, then the others. Both of the first
//   two take the text whole, its words in the order typed: "sword of" starts "Sword of Fire",
//   "fire sword" is only somewhere in it. Equal folded forms share a group: "epee" finds both
//   "Épée" and "EPEE" as exact.
// - A text without words (nothing, or only blanks) shows every entry in the list's order, and
//   keeps no row table at all.
//
// The display text of a row is the name's shown start (shownName); the name itself is the entry's.
class ItemListFilter : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ItemListFilter(const ItemListModel *entries, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setText(const QString &text);
    // No words typed: every entry is shown, in the list's order.
    bool showsAll() const { return m_words.isEmpty(); }
    // The entry of the list shown in row, and back; -1 where there is none.
    int entry(int row) const;
    int row(int entry) const;

private:
    enum Rank { Exact, Start, Within, None };

    void refilter(bool withinShown);
    Rank rank(int entry);

    const ItemListModel *m_entries;
    QString m_text;
    QString m_folded;         // m_text folded
    QStringList m_words;      // m_folded's words
    QList<int> m_shown;       // entries shown while there are words, best first
    qsizetype m_exactEnd = 0; // m_shown's exact matches end here
    qsizetype m_startEnd = 0; // and those that start with the text here
    std::u16string m_key;     // room for one name folded, kept from name to name
};
