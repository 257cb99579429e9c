// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "catalogue.h"
#include "derivedprice.h"
#include "faultmark.h"
#include "generate.h"
#include "itemlist.h"
#include "itemlisttext.h"
#include "resultnotice.h"
#include "windowaccessible.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

bool ticked(const QCheckBox *box)
{
    return box->checkState() == Qt::Checked;
}

QString percentText(int value)
{
    return QString::number(value) + u" %"_s;
}

// Clears a price box that still shows its hint: what the user typed there is theirs and stays.
void clearHint(QLineEdit &box, const TradeColumn &column)
{
    if (column.clearsOnFocus && box.text() == column.text)
        box.clear();
}

} // namespace

// The catalogue's section of items: every fill and every lookup asks for it.
QString Form1::catalogueSection()
{
    return u"ID"_s;
}

// The output box's text as the user sees it, no-break spaces included; only the document's own
// paragraph, line and frame marks become line breaks.
QString Form1::outputText() const
{
    QString text = m_text5->document()->toRawText();
    for (QChar &c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xfdd0: // beginning of a frame
        case 0xfdd1: // end of a frame
            c = u'\n';
            break;
        default:
            break;
        }
    }
    return text;
}

Form1::Form1(const QString &cataloguePath, const QLocale &locale, QWidget *parent)
    : QWidget(parent)
    , m_cataloguePath(cataloguePath)
    , m_locale(locale)
    , m_rows(this)
{
    buildLayout();
    connectControls();
    setUpShortcuts();
    setUpAccess();
    load();
    m_rows.row(0).itemList()->setFocus();
}

QString Form1::sellcode(const qint16 &id, const qint16 &preis) const
{
    return TradeCode::sellcode(id, preis);
}

QString Form1::buycode(const qint16 &id, const qint16 &preis) const
{
    return TradeCode::buycode(id, preis);
}

QString Form1::codezusammenfügen() const
{
    return m_tradeCode.codezusammenfügen();
}

void Form1::setShowMessage(ShowMessage show)
{
    m_showMessage = std::move(show);
}

void Form1::setAskQuestion(AskQuestion ask)
{
    m_askQuestion = std::move(ask);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::MouseButtonRelease:
        if (auto *box = qobject_cast<QLineEdit *>(watched)) {
            if (const TradeColumn *column = m_rows.columnOf(box))
                priceBoxEvent(*box, *column, *event);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// A price is typed anew, never joined to what the box showed: entered by Tab or a click, the box
// has its text selected, so the first key replaces it. Only later clicks place the caret, for an
// edit of one digit.
void Form1::priceBoxEvent(QLineEdit &box, const TradeColumn &column, const QEvent &event)
{
    switch (event.type()) {
    case QEvent::FocusIn: {
        clearHint(box, column);
        if (!column.selectsOnEntry)
            break;
        const Qt::FocusReason reason = static_cast<const QFocusEvent &>(event).reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            box.selectAll();
        // The press that brings the focus goes on to place the caret, which drops a selection
        // made now: the text is selected as that click ends.
        m_clickedInto = reason == Qt::MouseFocusReason ? &box : nullptr;
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_clickedInto != &box)
            break;
        m_clickedInto = nullptr;
        // A text the user selected by dragging stays as they selected it.
        if (static_cast<const QMouseEvent &>(event).button() == Qt::LeftButton
            && !box.hasSelectedText())
            box.selectAll();
        break;
    case QEvent::FocusOut:
        if (m_clickedInto == &box)
            m_clickedInto = nullptr;
        break;
    default:
        break;
    }
}

void Form1::connectControls()
{
    connect(m_command1, &QPushButton::clicked, this, &Form1::addRowClicked);
    connect(m_command2, &QPushButton::clicked, this, &Form1::removeRowClicked);
    connect(m_command3, &QPushButton::clicked, this, &Form1::generateClicked);
    connect(m_command4, &QPushButton::clicked, this, &Form1::closeOptionsClicked);
    connect(m_command5, &QPushButton::clicked, this, &Form1::optionsClicked);
    connect(m_command6, &QPushButton::clicked, this, &Form1::copyToClipboardClicked);
    connect(m_text5, &QWidget::customContextMenuRequested, this, &Form1::showCodeMenu);
    connect(m_copyConfirmationTimer, &QTimer::timeout, this, &Form1::copyConfirmationDone);
    connect(m_check1, &QCheckBox::stateChanged, this, &Form1::check1Clicked);
    // Without this the user could not tell which percentage the bar stands at.
    const auto showPercent = [this](int value) {
        m_hscroll1->setToolTip(percentText(value));
        m_percentShown->setText(percentText(value));
    };
    connect(m_hscroll1, &QScrollBar::valueChanged, this, showPercent);
    showPercent(m_hscroll1->value());
    connectRow(0);
}

void Form1::connectRow(qint16 row)
{
    const TradeRow controls = m_rows.row(row);
    // activated, not currentIndexChanged: picking the entry already shown must read id.txt again.
    connect(controls.itemList(), &QComboBox::activated, this, [this, row] { itemChosen(row); });
    connect(controls.box(Column::SellingPrice), &QLineEdit::textChanged, this,
            [this, row] { sellingPriceChanged(row); });
    for (const TradeColumn &column : TradeColumns) {
        if (!column.clearsOnFocus && !column.selectsOnEntry)
            continue;
        QLineEdit *box = controls.box(column.column);
        box->installEventFilter(this);
        // The caret waits at the start of the hint, so that clearing the hint on focus moves no
        // caret: a screen reader told of a caret moving in a box before it hears of the focus
        // arriving there takes the box for the focus without a word.
        box->setCursorPosition(0);
    }
}

void Form1::load()
{
    FillListFromIni(*m_rows.row(0).itemList(), m_cataloguePath, catalogueSection());
    selectFirstEntry(0);
}

void Form1::selectFirstEntry(qint16 row)
{
    // An empty catalogue leaves nothing to choose: the row keeps "ID" and the window stays usable.
    if (sayWhereEmpty(row))
        return;
    // A filled list already shows its first entry without a signal, and the choice made here must
    // run the item-chosen handling exactly once, as a user's choice does.
    m_rows.row(row).itemList()->setCurrentIndex(0);
    itemChosen(row);
}

// A list without entries says where the program looked, its text still empty for "Generate"; a
// list with entries says nothing in their place. True for an empty list.
bool Form1::sayWhereEmpty(qint16 row)
{
    QComboBox *list = m_rows.row(row).itemList();
    const bool empty = list->count() == 0;
    list->setPlaceholderText(empty ? emptyItemListText(m_cataloguePath) : QString());
    return empty;
}

void Form1::itemChosen(qint16 row)
{
    const TradeRow controls = m_rows.row(row);
    const QComboBox *list = controls.itemList();
    QLineEdit *id = controls.box(Column::Id);
    if (!list || !id)
        return;
    QString name = list->currentText();
    // A null name would ask the catalogue for its whole key list instead of one value.
    if (name.isNull())
        name = u""_s;
    id->setText(ReadIni(m_cataloguePath, catalogueSection(), name));
}

void Form1::sellingPriceChanged(qint16 row)
{
    const TradeRow controls = m_rows.row(row);
    const QLineEdit *selling = controls.box(Column::SellingPrice);
    QLineEdit *generated = controls.box(Column::GeneratedBuyingPrice);
    if (!selling || !generated)
        return;
    const auto price = derivedBuyingPrice(selling->text(), qint16(m_hscroll1->value()), m_locale);
    if (price)
        generated->setText(*price);
}

void Form1::check1Clicked()
{
    const bool show = ticked(m_check1);
    for (const auto &[row, box] : m_rows.array(Column::GeneratedBuyingPrice))
        box->setVisible(show);
    updateBuyingPriceFocus();
}

void Form1::generateClicked()
{
    // The old trade code goes first, so that a failure never leaves it looking current.
    m_text5->clear();
    m_codeNotice->withdraw();
    m_rowsNotice->withdraw();
    m_faultMark->clear();
    const GenerateOptions options{ticked(m_check2), ticked(m_check1), ticked(m_check3)};
    const auto fail = [this] { showMessage(u"Please enter everything before!"_s, u"Error"_s); };
    QList<TradeRowTexts> rows;
    for (const qint16 row : m_rows.indices()) {
        const TradeRow controls = m_rows.row(row);
        if (!controls.complete())
            return fail();
        rows.append(controls.texts(row));
    }
    const GenerateResult result = generateTradeCode(m_tradeCode, options, rows, m_locale);
    if (!result.ok()) {
        fail();
        focusFailedBox(result);
        return;
    }
    m_text5->setPlainText(result.tradeCode);
    m_codeNotice->tell(result.tradeCode);
}

// The message names no box, so once it is closed the user is taken to where the fault is fixed,
// the text there selected so that typing replaces it, and the failed box is marked.
void Form1::focusFailedBox(const GenerateResult &result)
{
    const TradeColumn *column = columnOf(result.failedBox);
    if (!column || !std::in_range<qint16>(result.failedRow))
        return; // no box to show
    const TradeRow row = m_rows.row(qint16(result.failedRow));
    QLineEdit *failed = row.box(column->column);
    QWidget *fix = row[column->fixedIn];
    if (!failed || !fix)
        return;
    // The open options panel may lie over the row (rows 4 to 12); it closes as "X" closes it, so
    // that the user sees the mark and the focus is nowhere unseen.
    const QRect shown = m_picture1->geometry();
    if (m_picture1->isVisible()
        && (shown.intersects(failed->geometry()) || shown.intersects(fix->geometry())))
        m_command4->click();
    // A hint goes now rather than when the focus arrives, which may be only once the window is
    // active again: its going would count as the change that ends the mark.
    auto *fixBox = qobject_cast<QLineEdit *>(fix);
    if (fixBox)
        clearHint(*fixBox, TradeColumns.at(size_t(column->fixedIn)));
    fix->setFocus(Qt::OtherFocusReason);
    if (fixBox)
        fixBox->selectAll();
    m_faultMark->mark(failed);
}

void Form1::addRowClicked()
{
    appendRow([this](qint16 m) {
        const ItemList *above = m_rows.row(qint16(m - 1)).itemList();
        ItemList *list = m_rows.row(m).itemList();
        FillListFromIni(*list, m_cataloguePath, catalogueSection());
        list->shareEntries(*above); // read anew, but kept once where nothing changed
        selectFirstEntry(m);
    });
}

// Adds a row below the last one within the limits of "+", and lets fill give its item list entries
// and its choice before the row is counted; false where no row is added.
bool Form1::appendRow(const std::function<void(qint16 row)> &fill)
{
    const qint16 n = zeilenanzahl;
    if (n < 0 || n >= LastRow)
        return false;
    const auto m = qint16(n + 1); // within 1..13, so no overflow
    if (!m_rows.row(m).isEmpty() || !m_picture1->isHidden())
        return false;
    moveRowButtons(RowPitch);

    const TradeRow above = m_rows.row(n);
    const TradeRow row = m_rows.create(m);
    for (const TradeColumn &column : TradeColumns) {
        QWidget *control = row[column];
        placeBelow(control, above[column]);
        if (QLineEdit *box = row.box(column.column); box && !column.copiesText)
            box->setText(column.text.toString());
        // Only the generated prices are ever hidden, and a new one follows the row above.
        control->setVisible(above[column]->isVisibleTo(this));
        // Made from left to right, each in front of the one before: the generated price lies
        // over the typed one.
        control->raise();
    }

    nameRow(m);
    connectRow(m);
    QWidget *previous = above.controls.back();
    for (QWidget *control : row.controls) {
        setTabOrder(previous, control);
        previous = control;
    }
    fill(m);
    // New rows are created on top; the bottom area must stay in front of them.
    m_picture2->raise();
    m_text5->raise();
    m_command3->raise();
    m_command5->raise();
    updateBuyingPriceFocus();
    for (QWidget *control : row.controls)
        announceJoined({control});
    zeilenanzahl = m;
    return true;
}

void Form1::removeRowClicked()
{
    const qint16 n = zeilenanzahl;
    if (n <= 0)
        return;
    if (!m_picture1->isHidden())
        return;
    for (QWidget *control : m_rows.row(n).controls)
        announceLeaving({control});
    m_rows.destroy(n);
    moveRowButtons(-RowPitch);
    zeilenanzahl = qint16(n - 1);
}

void Form1::optionsClicked()
{
    m_picture1->show();
    m_picture1->raise();
    m_check1->setFocus(Qt::OtherFocusReason); // straight into the panel, not many Tabs away
}

void Form1::closeOptionsClicked()
{
    // Back to where the panel was opened, before the panel hides: left to itself the focus would
    // move on into a price box and clear its hint.
    if (!m_picture1->isHidden())
        m_command5->setFocus(Qt::OtherFocusReason);
    m_picture1->hide();
}

void Form1::moveRowButtons(int by)
{
    m_command1->move(m_command1->x(), m_command1->y() + by);
    m_command2->move(m_command2->x(), m_command1->y());
}

void Form1::showMessage(const QString &prompt, const QString &title)
{
    if (m_showMessage) {
        m_showMessage(prompt, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, this);
    // A message may quote what the user pasted, which is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
