// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistpopup.h"

#include "itemlist.h"
#include "itemlistfilter.h"
#include "itemlistmodel.h"
#include "resultnotice.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <queue>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// How many of the longest names, counted in characters, are measured for the open list's width.
constexpr int MeasuredNames = 8;

// The space the style leaves on either side of an entry's text.
int textMargin(const QWidget *view)
{
    return view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
}

// The entries as the toolkit draws them, but each cut at the list's edge, where it ends with "…":
// the toolkit lays an entry out as wide as its text and lets the edge cut it in mid-letter. An
// entry cut short shows its name as a tooltip.
class EntryDelegate : public QStyledItemDelegate
{
public:
    explicit EntryDelegate(QAbstractItemView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, fitted(option), index);
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = fitted(option);
        initStyleOption(&item, index);
        const int room
                = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width()
                - 2 * textMargin(view);
        if (item.fontMetrics.horizontalAdvance(item.text) > room)
            QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
        else
            QToolTip::hideText();
        return true;
    }

private:
    QStyleOptionViewItem fitted(const QStyleOptionViewItem &option) const
    {
        QStyleOptionViewItem item = option;
        item.rect.setRight(std::min(item.rect.right(), m_view->viewport()->rect().right()));
        return item;
    }

    QAbstractItemView *m_view;
};

// The entries of the longest names in characters, at most count of them, found with one look at
// each name's length.
std::vector<int> longestEntries(const ItemListModel &entries, int count)
{
    using Length = std::pair<qsizetype, int>; // name length, entry
    std::priority_queue<Length, std::vector<Length>, std::greater<>> longest;
    for (int entry = 0, size = entries.rowCount(); entry < size; ++entry) {
        longest.emplace(entries.name(entry).size(), entry);
        if (longest.size() > std::size_t(count))
            longest.pop();
    }
    std::vector<int> found;
    for (; !longest.empty(); longest.pop())
        found.push_back(longest.top().second);
    return found;
}

} // namespace

// The open list's entries, which say why where there are none.
class ItemListEntries : public QListView
{
public:
    using QListView::QListView;

    // The text drawn greyed while there is no entry to show.
    void setEmptyText(const QString &text)
    {
        if (text == m_emptyText)
            return;
        m_emptyText = text;
        viewport()->update();
    }

protected:
    // The toolkit's list tells a screen reader of every new current entry as focused, even while
    // the list is hidden or the focus is elsewhere; the popup says itself when an entry is meant.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        // NOLINTNEXTLINE(bugprone-parent-virtual-call): the list's own override only adds that
        QAbstractItemView::currentChanged(current, previous);
    }

    void paintEvent(QPaintEvent *event) override
    {
        QListView::paintEvent(event);
        if (m_emptyText.isEmpty() || model()->rowCount() > 0)
            return;
        // Where the first entry would stand, and as far in.
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        const int margin = textMargin(this);
        const QRect line(margin, 0, viewport()->width() - 2 * margin, fontMetrics().height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(m_emptyText, Qt::ElideRight, line.width()));
    }

private:
    QString m_emptyText;
};

ItemListPopup::ItemListPopup(ItemList *list)
    : QFrame(list, Qt::Popup)
    , m_list(list)
    , m_filter(new ItemListFilter(list->entries(), this))
    , m_find(new QLineEdit(this))
    , m_view(new ItemListEntries(this))
    , m_noMatch(new ResultNotice(u"Find item"_s, this))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAttribute(Qt::WA_WindowPropagation); // the list's font and colours, though a window
    m_find->setObjectName(u"FindItem"_s);
    m_find->setAccessibleName(u"Find item"_s);
    m_find->setPlaceholderText(u"Find item"_s);
    m_find->installEventFilter(this);
    m_view->setObjectName(u"FoundItems"_s);
    m_view->setModel(m_filter);
    m_view->setItemDelegate(new EntryDelegate(m_view));
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
    // The names' width is measured again only when they change.
    const auto namesChanged = [this] { m_namesWidth = -1; };
    const ItemListModel *names = list->entries();
    connect(names, &QAbstractItemModel::rowsInserted, this, namesChanged);
    connect(names, &QAbstractItemModel::rowsRemoved, this, namesChanged);
    connect(names, &QAbstractItemModel::modelReset, this, namesChanged);
    connect(names, &QAbstractItemModel::dataChanged, this, namesChanged);
}

QListView *ItemListPopup::entries() const
{
    return m_view;
}

void ItemListPopup::open()
{
    setAttribute(Qt::WA_NoMouseReplay, false);
    highlight(m_list->currentIndex());
    showWhyEmpty();
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

void ItemListPopup::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_namesWidth = -1;
    QFrame::changeEvent(event);
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
    // With no word typed the chosen entry is highlighted, as on opening; a typed text highlights
    // its best match, which Return then picks.
    if (m_filter->showsAll())
        highlight(m_list->currentIndex());
    else
        m_view->setCurrentIndex(m_filter->index(0));
    showWhyEmpty();
}

// An open list without entries says why: nothing matches what is typed, or the list has none.
// That nothing matches is told to a screen reader as a notification, once as it comes about: a
// change in the field's own description, where the focus is, reaches it as no text to present.
void ItemListPopup::showWhyEmpty()
{
    const QString noMatch = u"No item matches"_s;
    const bool matchesNone = !m_filter->showsAll() && m_filter->rowCount() == 0;
    m_view->setEmptyText(matchesNone ? noMatch : m_list->placeholderText());
    if (!matchesNone)
        m_noMatch->withdraw();
    else if (!m_noMatch->isShown())
        m_noMatch->tell(noMatch);
}

// The width the longest names take in the list, measured on the few longest in characters and
// kept until the names or the font change: a million names are not measured at every opening.
int ItemListPopup::namesWidth()
{
    if (m_namesWidth < 0) {
        m_namesWidth = 0;
        for (int entry : longestEntries(*m_list->entries(), MeasuredNames)) {
            const QModelIndex index = m_filter->index(m_filter->row(entry));
            m_namesWidth = std::max(m_namesWidth, m_view->sizeHintForIndex(index).width());
        }
    }
    return m_namesWidth;
}

// Below the list, or above it where the screen ends below; as wide as the list, or as its longest
// names need, up to the screen's width.
void ItemListPopup::place()
{
    ensurePolished();
    const int count = m_filter->rowCount();
    const int rowHeight = count > 0 ? m_view->sizeHintForRow(0) : m_view->fontMetrics().height();
    const int rows = std::clamp(count, 1, std::max(1, m_list->maxVisibleItems()));
    const int frames = 2 * m_view->frameWidth() + 2 * frameWidth();
    const int height = m_find->sizeHint().height() + rows * rowHeight + frames;
    const int scrollBar = count > rows ? m_view->verticalScrollBar()->sizeHint().width() : 0;
    const int width = std::max(m_list->width(), namesWidth() + scrollBar + frames);
    QRect area(m_list->mapToGlobal(QPoint(0, m_list->height())), QSize(width, height));
    if (const QScreen *screen = m_list->screen()) {
        const QRect available = screen->availableGeometry();
        area.setWidth(std::min(width, available.width()));
        if (area.bottom() > available.bottom())
            area.moveBottom(m_list->mapToGlobal(QPoint(0, 0)).y() - 1);
        if (area.right() > available.right())
            area.moveRight(available.right());
        if (area.left() < available.left())
            area.moveLeft(available.left());
    }
    setGeometry(area);
}
