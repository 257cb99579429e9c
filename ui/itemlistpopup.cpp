// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistpopup.h"

#include "itemlist.h"
#include "itemlistfilter.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The toolkit's list tells a screen reader of every new current entry as focused, even while
// the list is hidden or the focus is elsewhere; the popup says itself when an entry is meant.
class EntriesView : public QListView
{
public:
    using QListView::QListView;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        // NOLINTNEXTLINE(bugprone-parent-virtual-call): the list's own override only adds that
        QAbstractItemView::currentChanged(current, previous);
    }
};

} // namespace

ItemListPopup::ItemListPopup(ItemList *list)
    : QFrame(list, Qt::Popup)
    , m_list(list)
    , m_filter(new ItemListFilter(list->entries(), this))
    , m_find(new QLineEdit(this))
    , m_view(new EntriesView(this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAttribute(Qt::WA_WindowPropagation); // the list's font and colours, though a window
    m_find->setObjectName(u"FindItem"_s);
    m_find->setAccessibleName(u"Find item"_s);
    m_find->setPlaceholderText(u"Find item"_s);
    m_find->installEventFilter(this);
    m_view->setObjectName(u"FoundItems"_s);
    m_view->setModel(m_filter);
    // One height for every row, so that a million names are laid out without measuring each.
    m_view->setUniformItemSizes(true);
    m_view->setFocusPolicy(Qt::NoFocus); // typing goes on in the field while the list is clicked
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setMouseTracking(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_find);
    layout->addWidget(m_view);

    connect(m_find, &QLineEdit::textChanged, this, &ItemListPopup::textTyped);
    connect(m_view, &QAbstractItemView::entered, m_view, &QAbstractItemView::setCurrentIndex);
    connect(m_view, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { emit picked(m_filter->entry(index.row())); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (isVisible())
            announceHighlight();
    });
}

void ItemListPopup::open()
{
    setAttribute(Qt::WA_NoMouseReplay, false);
    highlight(m_list->currentIndex());
    place();
    show();
    // The field takes the focus, and a screen reader says so; the entries it tells of once
    // the highlight moves.
    m_find->setFocus(Qt::PopupFocusReason);
    m_view->scrollTo(m_view->currentIndex());
}

void ItemListPopup::highlight(int entry)
{
    const QModelIndex index = m_filter->index(m_filter->row(entry));
    m_view->setCurrentIndex(index);
    if (index.isValid() && isVisible())
        m_view->scrollTo(index);
}

void ItemListPopup::announceHighlight() const
{
    const QModelIndex current = m_view->currentIndex();
    if (!QAccessible::isActive() || !current.isValid())
        return;
    // What a list with the focus says of its current entry; the focus itself stays where the
    // user types.
    QAccessibleEvent event(m_view, QAccessible::Focus);
    event.setChild(current.row());
    QAccessible::updateAccessibility(&event);
}

bool ItemListPopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_find && event->type() == QEvent::KeyPress)
        return keyPressed(*static_cast<QKeyEvent *>(event));
    return QFrame::eventFilter(watched, event);
}

void ItemListPopup::mousePressEvent(QMouseEvent *event)
{
    // A press on the list's own face closes it, as it does a plain drop-down, instead of
    // opening it again at once.
    if (m_list->rect().contains(m_list->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QFrame::mousePressEvent(event);
}

void ItemListPopup::hideEvent(QHideEvent *event)
{
    // The next opening starts from the whole list, and the table of rows shown goes. Clearing
    // an empty field would still tell a screen reader of a caret moved.
    if (!m_find->text().isEmpty())
        m_find->clear();
    QFrame::hideEvent(event);
    emit closed();
}

bool ItemListPopup::keyPressed(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (key.modifiers() & Qt::AltModifier) {
            hide();
            return true;
        }
        Q_FALLTHROUGH();
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        QKeyEvent move(key.type(), key.key(), Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &move);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickHighlighted();
        return true;
    case Qt::Key_Escape:
    case Qt::Key_F4:
        hide();
        return true;
    default:
        return false;
    }
}

void ItemListPopup::pickHighlighted()
{
    const int entry = m_filter->entry(m_view->currentIndex().row());
    if (entry >= 0)
        emit picked(entry);
}

void ItemListPopup::textTyped(const QString &text)
{
    m_filter->setText(text);
    // With the field empty the chosen entry is highlighted, as on opening; a typed text
    // highlights its first match, which Return then picks.
    if (text.isEmpty())
        highlight(m_list->currentIndex());
    else
        m_view->setCurrentIndex(m_filter->index(0));
}

// Below the list and as wide as it, or above it where the screen ends below.
void ItemListPopup::place()
{
    ensurePolished();
    const int count = m_filter->rowCount();
    const int rowHeight = count > 0 ? m_view->sizeHintForRow(0) : m_view->fontMetrics().height();
    const int rows = std::clamp(count, 1, std::max(1, m_list->maxVisibleItems()));
    const int height = m_find->sizeHint().height() + rows * rowHeight + 2 * m_view->frameWidth()
            + 2 * frameWidth();
    QRect area(m_list->mapToGlobal(QPoint(0, m_list->height())), QSize(m_list->width(), height));
    if (const QScreen *screen = m_list->screen()) {
        const QRect available = screen->availableGeometry();
        if (area.bottom() > available.bottom())
            area.moveBottom(m_list->mapToGlobal(QPoint(0, 0)).y() - 1);
        if (area.right() > available.right())
            area.moveRight(available.right());
        if (area.left() < available.left())
            area.moveLeft(available.left());
    }
    setGeometry(area);
}
