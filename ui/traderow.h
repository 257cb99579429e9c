// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Trade row k is the element with index k of each of five control arrays, one array a column:
// the item list Combo1, the ID box Text1, the selling price Text2, the buying price Text3 and the
// generated buying price Text4, which lies over the buying price. TradeColumns holds what sets
// the columns apart. Whatever the window does to a whole row (lay out row 0, add or remove a row,
// name its controls, chain its tab stops, read it for Generate, find the box that failed) walks
// that table, so a further column is one more entry there.

#include "controlarray.h"
#include "generate.h"

#include <QList>
#include <QRect>
#include <QStringView>

#include <array>
#include <vector>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

class ItemList;

// The columns from left to right: the order of the tab stops within a row.
enum class Column { ItemList, Id, SellingPrice, BuyingPrice, GeneratedBuyingPrice };

struct TradeColumn
{
    Column column;
    QStringView array;          // the control array; its element k is named "<array>_k"
    QStringView accessibleName; // followed by the row as the user counts it
    QRect twips;                // row 0's place and size
    // A box's own: what row 0's box shows at start, whether focus clears that text as a hint,
    // whether entering it by Tab or a click selects its text so that typing replaces it, whether
    // a new row's box starts with the text row 0's box shows then instead.
    QStringView text = {};
    bool clearsOnFocus = false;
    bool selectsOnEntry = false;
    bool copiesText = false;
    bool readOnly = false;
    Qt::Alignment alignment = {};
    // How Generate names the box when its text fails, where it takes the text, and the column
    // of the row where the user fixes a failed text: a read-only box follows another control.
    GenerateResult::Box box = GenerateResult::Box::None;
    QString TradeRowTexts::*read = nullptr;
    Column fixedIn = Column::ItemList;
};

inline constexpr std::array<TradeColumn, 5> TradeColumns{{
        {.column = Column::ItemList,
         .array = u"Combo1",
         .accessibleName = u"Item",
         .twips = QRect(600, 960, 3015, 315)},
        {.column = Column::Id,
         .array = u"Text1",
         .accessibleName = u"ID",
         .twips = QRect(3720, 960, 735, 285),
         .text = u"ID",
         .readOnly = true,
         .alignment = Qt::AlignLeft | Qt::AlignVCenter,
         .box = GenerateResult::Box::Id,
         .read = &TradeRowTexts::id,
         .fixedIn = Column::ItemList},
        {.column = Column::SellingPrice,
         .array = u"Text2",
         .accessibleName = u"Selling price",
         .twips = QRect(4680, 960, 3495, 285),
         .text = u"Enter sellingprice here",
         .clearsOnFocus = true,
         .selectsOnEntry = true,
         .copiesText = true,
         .alignment = Qt::AlignCenter,
         .box = GenerateResult::Box::SellingPrice,
         .read = &TradeRowTexts::sellingPrice,
         .fixedIn = Column::SellingPrice},
        {.column = Column::BuyingPrice,
         .array = u"Text3",
         .accessibleName = u"Buying price",
         .twips = QRect(8400, 960, 3495, 285),
         .text = u"Enter buyingprice here",
         .clearsOnFocus = true,
         .selectsOnEntry = true,
         .copiesText = true,
         .alignment = Qt::AlignCenter,
         .box = GenerateResult::Box::BuyingPrice,
         .read = &TradeRowTexts::buyingPrice,
         .fixedIn = Column::BuyingPrice},
        {.column = Column::GeneratedBuyingPrice,
         .array = u"Text4",
         .accessibleName = u"Generated buying price",
         .twips = QRect(8400, 960, 3495, 285), // over the buying price
         .text = u"Price will be generated",
         .copiesText = true,
         .readOnly = true,
         .alignment = Qt::AlignCenter,
         .box = GenerateResult::Box::GeneratedBuyingPrice,
         .read = &TradeRowTexts::generatedBuyingPrice,
         .fixedIn = Column::SellingPrice},
}};

// The controls of one row, each nullptr where its array has no element with the row's index.
struct TradeRow
{
    std::array<QWidget *, TradeColumns.size()> controls{};

    QWidget *operator[](Column column) const { return controls.at(size_t(column)); }
    QWidget *operator[](const TradeColumn &column) const { return (*this)[column.column]; }
    ItemList *itemList() const;
    QLineEdit *box(Column column) const; // nullptr for the item list
    bool complete() const;               // every column has its element
    bool isEmpty() const;                // no column has
    // What Generate reads of a complete row: the text of each box it may read.
    TradeRowTexts texts(int index) const;
};

// The window's rows, one control array a column. The elements are children of the window, which
// owns them; the arrays only find them.
class TradeRows
{
public:
    // Row 0 as bare controls: the window's layout gives them their place, text and look.
    explicit TradeRows(QWidget *window);

    TradeRow row(qint16 index) const;
    // The index of every row, ascending: a row is there as long as its item list is.
    QList<qint16> indices() const;
    const ControlArray<QWidget> &array(Column column) const;
    // The column whose array holds the control, or nullptr.
    const TradeColumn *columnOf(const QObject *control) const;
    // Hidden copies of row 0's controls as they are now (ControlArray::create); a column that
    // already holds the index gives nullptr.
    TradeRow create(qint16 index);
    // Deletes the row's controls from left to right.
    void destroy(qint16 index);

private:
    std::vector<ControlArray<QWidget>> m_arrays; // in column order
};

// The column whose box Generate names in a failure, or nullptr where it names no box.
const TradeColumn *columnOf(GenerateResult::Box box);
