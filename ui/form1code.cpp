// SPDX-License-Identifier: GPL-3.0-or-later
// "Rows from code": a trade code kept elsewhere becomes the rows again, so that yesterday's code,
// or one received from someone else, can be checked and changed instead of typed anew. Ctrl+Shift+V
// reads the clipboard (form1keys.cpp), "Rows from this code" in the output box's menu the code in
// the box. The code is read by core (readTradeCode); the catalogue is read once for the whole
// command, every name with the id that choosing it would give.
#include "form1.h"

#include "catalogue.h"
#include "codereader.h"
#include "faultmark.h"
#include "itemlist.h"
#include "localenumber.h"
#include "resultnotice.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString rowsText(qsizetype count)
{
    return count == 1 ? u"1 row"_s : u"%1 rows"_s.arg(count);
}

// For each row, the entry of the first name whose id converts to the row's id as "Generate"
// converts the ID box that choosing the name fills; -1 where no name has it. A name that stands
// twice has the first one's id both times, so a later duplicate is never the first to match.
QList<int> firstNamesOf(const QList<CodeRow> &rows, const KeyNames &ids, const QLocale &locale)
{
    QList<int> entries(rows.size(), -1);
    qsizetype unmatched = rows.size();
    const Int16Reader read(locale);
    for (qsizetype k = 0; k < ids.size() && unmatched > 0; ++k) {
        const std::optional<qint16> id = read(ids.at(k));
        if (!id)
            continue;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            if (entries.at(r) < 0 && rows.at(r).id == *id) {
                entries[r] = int(k);
                --unmatched;
            }
        }
    }
    return entries;
}

} // namespace

void Form1::showCodeMenu(const QPoint &at)
{
    QMenu *menu = m_text5->createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    connect(menu->addAction(u"Rows from this code"_s), &QAction::triggered, this,
            [this] { rowsFromCode(outputText()); });
    // The menu of a scroll area's text is asked for where the text lies, its viewport.
    menu->popup(m_text5->viewport()->mapToGlobal(at));
}

// Rows, options, output box and focus change only once the code has been read whole and the user
// has agreed to lose what they typed: a fault, or a "No", leaves everything as it was.
void Form1::rowsFromCode(const QString &code)
{
    // Rows are fixed while the options panel is shown, as for "+" and "-".
    if (!m_picture1->isHidden())
        return;
    const CodeReading reading = readTradeCode(code);
    if (!reading.ok()) {
        showMessage(reading.fault, u"Error"_s);
        return;
    }
    const auto count = qint16(reading.rows.size()); // 1 to 14
    if (holdsTypedPrices()
        && !askQuestion(u"Replace the %1 you have with the %2 of this code?"_s.arg(
                                rowsText(zeilenanzahl + 1), rowsText(count)),
                        u"Rows from code"_s))
        return;

    const KeyValues catalogue = wholeKeyListWithValues(m_cataloguePath, catalogueSection());
    const QList<int> entries = firstNamesOf(reading.rows, catalogue.values, m_locale);
    const QList<TradeRowTexts> texts = reading.rowTexts();

    m_codeNotice->withdraw();
    m_faultMark->clear();
    // Taken first, so that no removed row hands the focus on to a price box, clearing its hint.
    m_rows.row(0).itemList()->setFocus(Qt::OtherFocusReason);
    m_check2->setChecked(reading.hasBuyEntries());
    m_check3->setChecked(reading.hasSellEntries());
    // The buying prices read count as typed ones; a code of sell entries alone leaves the choice.
    if (reading.hasBuyEntries())
        m_check1->setChecked(false);

    const auto show
            = [&](qint16 row) { showCodeRow(row, texts.at(row), catalogue, entries.at(row)); };
    for (qint16 last = zeilenanzahl; last >= count; --last)
        removeRowClicked();
    for (qint16 row = 0; row <= zeilenanzahl; ++row)
        show(row);
    for (auto row = qint16(zeilenanzahl + 1); row < count; ++row)
        appendRow(show);

    m_text5->setPlainText(code.trimmed());
    m_rowsNotice->tell(rowsText(count) + u" from code"_s);
}

// Whether any price box holds something the user would lose: anything but its hint or nothing.
bool Form1::holdsTypedPrices() const
{
    const QList<qint16> rows = m_rows.indices();
    return std::ranges::any_of(rows, [this](qint16 row) {
        return std::ranges::any_of(TradeColumns, [&](const TradeColumn &column) {
            const QLineEdit *box = m_rows.row(row).box(column.column);
            return column.clearsOnFocus && box && !box->text().isEmpty()
                    && box->text() != column.text;
        });
    });
}

bool Form1::askQuestion(const QString &prompt, const QString &title)
{
    if (m_askQuestion)
        return m_askQuestion(prompt, title);
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    // Return alone never throws typed prices away.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// The row as choosing the entry and typing the code's prices would leave it, without a lookup of
// its own: the list holds the catalogue's names as read for the whole command, the ID box the
// chosen name's id as the catalogue writes it, or with no entry the code's id. A price box of a
// kind the code lacks shows its hint, as a new row at start-up does: a price left there would
// belong to another item, and would enter the next code unseen once that kind is ticked again.
// So does the generated price, which the code never holds, where there is no selling price.
void Form1::showCodeRow(qint16 row, const TradeRowTexts &texts, const KeyValues &catalogue,
                        int entry)
{
    const TradeRow controls = m_rows.row(row);
    ItemList *list = controls.itemList();
    list->setNames(catalogue.names);
    sayWhereEmpty(row);
    list->setCurrentIndex(entry);
    controls.box(Column::Id)->setText(entry < 0 ? texts.id : catalogue.values.at(entry).toString());
    for (const TradeColumn &column : TradeColumns) {
        if (!column.read || column.column == Column::Id)
            continue;
        const QString &price = texts.*column.read;
        controls.box(column.column)->setText(price.isNull() ? column.text.toString() : price);
    }
    // The generated price follows the selling price just read, at the percentage set now, as if
    // it had been typed; without one it is no one's and shows its start text.
    sellingPriceChanged(row);
}
