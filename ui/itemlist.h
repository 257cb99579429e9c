// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

struct KeyNames;
class ItemListModel;
class ItemListPopup;

// A trade row's item list: a choose-only drop-down over a light list of names whose open list
// finds an item by any part of its name. Closed, it keeps every key of a plain drop-down.
class ItemList : public QComboBox
{
    Q_OBJECT

public:
    explicit ItemList(QWidget *parent = nullptr);

    // Appends the names as entries in one insertion.
    void addItems(const QStringList &names);
    // Appends the catalogue's names as entries in one insertion, keeping the text they came in.
    void addNames(const KeyNames &names);
    // Keeps one copy of the names where other's list holds the same ones.
    void shareEntries(const ItemList &other);
    const ItemListModel *entries() const { return m_entries; }
    // The open list, made when first asked for; closed, it is hidden and shows every entry.
    ItemListPopup *openList() const;
    bool isOpen() const;

    void showPopup() override;
    void hidePopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pick(int entry);
    void choiceChanged(int entry);

    ItemListModel *m_entries;
    mutable ItemListPopup *m_popup = nullptr; // made when first needed
    QString m_chosenText;                     // what a screen reader was last told
};
