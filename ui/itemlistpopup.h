// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QListView;
QT_END_NAMESPACE

class ItemList;
class ItemListEntries;
class ItemListFilter;
class ResultNotice;

// The open item list: a "Find item" field over the entries whose names hold what is typed there,
// best first (see ItemListFilter). The keyboard stays in the field; the keys that move through a
// drop-down list move the highlight instead of the caret. It is as wide as the longest names
// need, up to the screen's width; an entry still cut short shows its name as a tooltip.
class ItemListPopup : public QFrame
{
    Q_OBJECT

public:
    explicit ItemListPopup(ItemList *list);

    // Shows every entry, the chosen one highlighted, below the list.
    void open();
    // Highlights that entry of the list, where it is shown.
    void highlight(int entry);
    // Tells a screen reader which entry is highlighted, as it would hear a focused entry.
    void announceHighlight() const;
    QListView *entries() const;
    // What a screen reader is told while nothing matches the text typed.
    ResultNotice *noMatchNotice() const { return m_noMatch; }

signals:
    void picked(int entry);
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool keyPressed(const QKeyEvent &key);
    void pickHighlighted();
    void textTyped(const QString &text);
    void showWhyEmpty();
    int namesWidth();
    void place();

    ItemList *m_list;
    ItemListFilter *m_filter;
    QLineEdit *m_find;
    ItemListEntries *m_view;
    ResultNotice *m_noMatch; // told while nothing matches the text typed
    int m_namesWidth = -1;   // none measured yet
};
