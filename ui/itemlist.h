// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

QT_BEGIN_NAMESPACE
class QStyleOptionComboBox;
QT_END_NAMESPACE

struct KeyNames;
class ItemListModel;
class ItemListPopup;

// A trade row's item list: a choose-only drop-down over a light list of names whose open list
// finds an item by the words of its name (see ItemListFilter). Closed, it keeps every key of a
// plain drop-down, but takes the wheel only with the focus. However long a name, only its start
// is laid out (shownName); a name cut short at the list's edge ends with "…" and shows whole as a
// tooltip. Without entries it shows its placeholder text greyed, which a screen reader reads as
// its description; its text stays empty.
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
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QString label() const;
    int labelRoom(const QStyleOptionComboBox &option) const;
    void pick(int entry);
    void choiceChanged(int entry);

    ItemListModel *m_entries;
    mutable ItemListPopup *m_popup = nullptr; // made when first needed
    QString m_chosenText;                     // what a screen reader was last told
};
