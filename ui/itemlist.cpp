// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlist.h"

#include "itemlistmodel.h"
#include "itemlistpopup.h"
#include "itemlisttext.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListView>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>
#include <iterator>

ItemList::ItemList(QWidget *parent)
    : QComboBox(parent)
    , m_entries(new ItemListModel(this))
{
    setModel(m_entries);
    // The default measures every entry to size the list; its width is the layout's anyway.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The toolkit's drop-down takes the focus from a wheel turned over it, and then the wheel
    // chooses; here the focus comes by click or key alone (see wheelEvent).
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::currentIndexChanged, this, &ItemList::choiceChanged);
}

void ItemList::addItems(const QStringList &names)
{
    m_entries->addItems(names);
}

void ItemList::addNames(const KeyNames &names)
{
    m_entries->addNames(names);
}

void ItemList::shareEntries(const ItemList &other)
{
    m_entries->shareNames(*other.m_entries);
}

bool ItemList::isOpen() const
{
    return m_popup && m_popup->isVisible();
}

void ItemList::showPopup()
{
    openList()->open();
}

void ItemList::hidePopup()
{
    if (m_popup)
        m_popup->hide();
}

void ItemList::keyPressEvent(QKeyEvent *event)
{
    // Typed letters jump to the next entry that starts with them, exactly as the toolkit's own
    // drop-down does it, but searched in the entries of this list's own open list: the
    // toolkit's would make a second list of all the names just for that, and tell a screen
    // reader of every entry it passes.
    static constexpr int listKeys[]
            = {Qt::Key_Up,    Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
               Qt::Key_Home,  Qt::Key_End,    Qt::Key_F4,     Qt::Key_Space,
               Qt::Key_Enter, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Select};
    if (event->text().isEmpty() || std::ranges::find(listKeys, event->key()) != std::end(listKeys))
        return QComboBox::keyPressEvent(event);
    QListView *entries = openList()->entries();
    const int before = currentIndex();
    openList()->highlight(before);
    entries->keyboardSearch(event->text());
    const int found = entries->currentIndex().row();
    if (found >= 0 && found != before) {
        setCurrentIndex(found);
        emit activated(found);
        emit textActivated(itemText(found));
    }
}

bool ItemList::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QComboBox::event(event);
    // The text cut short at the list's edge shows whole as a tooltip.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString text = label();
    if (fontMetrics().horizontalAdvance(text) > labelRoom(option)) {
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), text, this, rect());
    } else {
        QToolTip::hideText();
    }
    return true;
}

// What QComboBox draws, its chosen name or placeholder ended with "…" where cut: the toolkit would
// cut it off in the middle of a letter, after laying out the whole name however long.
void ItemList::paintEvent(QPaintEvent * /*event*/)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0 && !placeholderText().isEmpty())
        option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
    option.currentText = fontMetrics().elidedText(label(), Qt::ElideRight, labelRoom(option));
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ItemList::wheelEvent(QWheelEvent *event)
{
    // Turned while the pointer passes over the list on its way elsewhere, the wheel would choose
    // another item unseen: only the list that has the focus takes it.
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

QString ItemList::label() const
{
    return currentIndex() < 0 ? placeholderText() : shownName(currentText());
}

// The width the style draws the text in: its field, less a pixel on either side.
int ItemList::labelRoom(const QStyleOptionComboBox &option) const
{
    return style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
                   .width()
            - 2;
}

ItemListPopup *ItemList::openList() const
{
    if (!m_popup) {
        auto *self = const_cast<ItemList *>(this);
        m_popup = new ItemListPopup(self);
        m_popup->highlight(currentIndex());
        connect(m_popup, &ItemListPopup::picked, self, &ItemList::pick);
        connect(m_popup, &ItemListPopup::closed, self, qOverload<>(&QWidget::update));
    }
    return m_popup;
}

// A pick is a choice even of the entry already chosen, as with a plain drop-down.
void ItemList::pick(int entry)
{
    setCurrentIndex(entry);
    hidePopup();
    emit activated(entry);
    emit textActivated(itemText(entry));
}

void ItemList::choiceChanged(int entry)
{
    // The closed list's entries follow the choice, as a screen reader reads them.
    if (m_popup && !m_popup->isVisible())
        m_popup->highlight(entry);
    const QString text = currentText();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent update(this, 0, m_chosenText, text);
        QAccessible::updateAccessibility(&update);
        // The bridge offers a screen reader no way to read which entry a closed drop-down
        // selected, so the entry is told as the list's focused one, as the open list tells it.
        if (hasFocus() && !isOpen())
            openList()->announceHighlight();
    }
    m_chosenText = text;
}
