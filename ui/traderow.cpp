// SPDX-License-Identifier: GPL-3.0-or-later
#include "traderow.h"

#include "itemlist.h"

#include <QLineEdit>

#include <algorithm>

namespace {

// The table is walked in column order and indexed by Column: both must agree.
constexpr bool inColumnOrder()
{
    for (size_t c = 0; c < TradeColumns.size(); ++c) {
        if (TradeColumns.at(c).column != Column(c))
            return false;
    }
    return true;
}
static_assert(inColumnOrder());

// The kind-specific part of a new element: a box keeps its text, read-only setting and alignment;
// an item list starts without entries.
QWidget *copyOf(const QWidget &model)
{
    const auto *box = qobject_cast<const QLineEdit *>(&model);
    if (!box)
        return new ItemList;
    auto *copy = new QLineEdit(box->text());
    copy->setReadOnly(box->isReadOnly());
    copy->setAlignment(box->alignment());
    return copy;
}

// Row 0's bare control of a column: the item list is the one column of another kind.
QWidget *firstOf(const TradeColumn &column, QWidget *window)
{
    if (column.column == Column::ItemList)
        return new ItemList(window);
    return new QLineEdit(window);
}

} // namespace

ItemList *TradeRow::itemList() const
{
    return qobject_cast<ItemList *>((*this)[Column::ItemList]);
}

QLineEdit *TradeRow::box(Column column) const
{
    return qobject_cast<QLineEdit *>((*this)[column]);
}

bool TradeRow::complete() const
{
    return std::ranges::none_of(controls, [](const QWidget *c) { return c == nullptr; });
}

bool TradeRow::isEmpty() const
{
    return std::ranges::all_of(controls, [](const QWidget *c) { return c == nullptr; });
}

TradeRowTexts TradeRow::texts(int index) const
{
    TradeRowTexts texts;
    texts.index = index;
    for (const TradeColumn &column : TradeColumns) {
        if (column.read)
            texts.*column.read = box(column.column)->text();
    }
    return texts;
}

TradeRows::TradeRows(QWidget *window)
{
    m_arrays.reserve(TradeColumns.size());
    for (const TradeColumn &column : TradeColumns)
        m_arrays.emplace_back(column.array.toString(), firstOf(column, window), copyOf);
}

TradeRow TradeRows::row(qint16 index) const
{
    TradeRow row;
    for (size_t c = 0; c < m_arrays.size(); ++c)
        row.controls.at(c) = m_arrays[c].element(index);
    return row;
}

QList<qint16> TradeRows::indices() const
{
    QList<qint16> indices;
    for (const auto &[index, list] : array(Column::ItemList))
        indices << index;
    return indices;
}

const ControlArray<QWidget> &TradeRows::array(Column column) const
{
    return m_arrays.at(size_t(column));
}

const TradeColumn *TradeRows::columnOf(const QObject *control) const
{
    for (size_t c = 0; c < m_arrays.size(); ++c) {
        for (const auto &[index, element] : m_arrays[c]) {
            if (element == control)
                return &TradeColumns.at(c);
        }
    }
    return nullptr;
}

TradeRow TradeRows::create(qint16 index)
{
    TradeRow row;
    for (size_t c = 0; c < m_arrays.size(); ++c)
        row.controls.at(c) = m_arrays[c].create(index);
    return row;
}

void TradeRows::destroy(qint16 index)
{
    for (ControlArray<QWidget> &column : m_arrays)
        column.destroy(index);
}

const TradeColumn *columnOf(GenerateResult::Box box)
{
    if (box == GenerateResult::Box::None)
        return nullptr;
    for (const TradeColumn &column : TradeColumns) {
        if (column.box == box)
            return &column;
    }
    return nullptr;
}
