// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "catalogue.h"
#include "derivedprice.h"
#include "generate.h"
#include "itemlist.h"
#include "resultnotice.h"
#include "windowaccessible.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString section()
{
    return u"ID"_s;
}

bool ticked(const QCheckBox *box)
{
    return box->checkState() == Qt::Checked;
}

// Focus entering a price box clears it only while it still shows its hint: what the user typed
// there is theirs and stays.
void clearHint(QLineEdit *box, QStringView hint)
{
    if (box->text() == hint)
        box->clear();
}

QString percentText(int value)
{
    return QString::number(value) + u" %"_s;
}

// The output box's text as the user sees it, no-break spaces included; only the document's own
// paragraph, line and frame marks become line breaks.
QString plainTextOf(const QTextDocument &document)
{
    QString text = document.toRawText();
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

} // namespace

Form1::Form1(const QString &cataloguePath, const QLocale &locale, QWidget *parent)
    : QWidget(parent)
    , m_cataloguePath(cataloguePath)
    , m_locale(locale)
    , m_combo1(u"Combo1"_s, new ItemList(this), copyItemList)
    , m_text1(u"Text1"_s, new QLineEdit(this), copyTextBox)
    , m_text2(u"Text2"_s, new QLineEdit(this), copyTextBox)
    , m_text3(u"Text3"_s, new QLineEdit(this), copyTextBox)
    , m_text4(u"Text4"_s, new QLineEdit(this), copyTextBox)
{
    buildLayout();
    connectControls();
    setUpShortcuts();
    setUpAccess();
    load();
    m_combo1.element(0)->setFocus();
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

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (const auto &[row, box] : m_text2) {
            if (box == watched)
                clearHint(box, u"Enter sellingprice here");
        }
        for (const auto &[row, box] : m_text3) {
            if (box == watched)
                clearHint(box, u"Enter buyingprice here");
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::connectControls()
{
    connect(m_command1, &QPushButton::clicked, this, &Form1::addRowClicked);
    connect(m_command2, &QPushButton::clicked, this, &Form1::removeRowClicked);
    connect(m_command3, &QPushButton::clicked, this, &Form1::generateClicked);
    connect(m_command4, &QPushButton::clicked, this, &Form1::closeOptionsClicked);
    connect(m_command5, &QPushButton::clicked, this, &Form1::optionsClicked);
    connect(m_command6, &QPushButton::clicked, this, &Form1::copyToClipboardClicked);
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
    // activated, not currentIndexChanged: picking the entry already shown must read id.txt again.
    connect(m_combo1.element(row), &QComboBox::activated, this, [this, row] { itemChosen(row); });
    connect(m_text2.element(row), &QLineEdit::textChanged, this,
            [this, row] { sellingPriceChanged(row); });
    for (QLineEdit *box : {m_text2.element(row), m_text3.element(row)}) {
        box->installEventFilter(this);
        // The caret waits at the start of the hint, so that clearing the hint on focus moves no
        // caret: a screen reader told of a caret moving in a box before it hears of the focus
        // arriving there takes the box for the focus without a word.
        box->setCursorPosition(0);
    }
}

void Form1::load()
{
    FillListFromIni(*m_combo1.element(0), m_cataloguePath, section());
    selectFirstEntry(0);
}

void Form1::selectFirstEntry(qint16 row)
{
    QComboBox *list = m_combo1.element(row);
    // An empty catalogue leaves nothing to choose: the row keeps "ID" and the window stays usable.
    if (list->count() == 0)
        return;
    // A filled list already shows its first entry without a signal, and the choice made here must
    // run the item-chosen handling exactly once, as a user's choice does.
    list->setCurrentIndex(0);
    itemChosen(row);
}

void Form1::itemChosen(qint16 row)
{
    const QComboBox *list = m_combo1.element(row);
    QLineEdit *id = m_text1.element(row);
    if (!list || !id)
        return;
    QString name = list->currentText();
    // A null name would ask the catalogue for its whole key list instead of one value.
    if (name.isNull())
        name = u""_s;
    id->setText(ReadIni(m_cataloguePath, section(), name));
}

void Form1::sellingPriceChanged(qint16 row)
{
    const QLineEdit *selling = m_text2.element(row);
    QLineEdit *generated = m_text4.element(row);
    if (!selling || !generated)
        return;
    const auto price = derivedBuyingPrice(selling->text(), qint16(m_hscroll1->value()), m_locale);
    if (price)
        generated->setText(*price);
}

void Form1::check1Clicked()
{
    const bool show = ticked(m_check1);
    for (const auto &[row, box] : m_text4)
        box->setVisible(show);
    updateBuyingPriceFocus();
}

void Form1::generateClicked()
{
    // The old trade code goes first, so that a failure never leaves it looking current.
    m_text5->clear();
    m_codeNotice->withdraw();
    const GenerateOptions options{ticked(m_check2), ticked(m_check1), ticked(m_check3)};
    const auto fail = [this] { showMessage(u"Please enter everything before!"_s, u"Error"_s); };
    QList<TradeRowTexts> rows;
    for (const auto &[row, list] : m_combo1) {
        const QLineEdit *id = m_text1.element(row);
        const QLineEdit *selling = m_text2.element(row);
        const QLineEdit *buying = m_text3.element(row);
        const QLineEdit *generated = m_text4.element(row);
        if (!id || !selling || !buying || !generated)
            return fail();
        rows.append({row, id->text(), selling->text(), buying->text(), generated->text()});
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

// The message names no box, so the user is taken there once it is closed, the text selected so
// that typing replaces it. Read-only boxes take the focus too: the user sees where the fault is.
void Form1::focusFailedBox(const GenerateResult &result)
{
    using Box = GenerateResult::Box;
    const ControlArray<QLineEdit> *boxes = nullptr;
    switch (result.failedBox) {
    case Box::Id:
        boxes = &m_text1;
        break;
    case Box::SellingPrice:
        boxes = &m_text2;
        break;
    case Box::BuyingPrice:
        boxes = &m_text3;
        break;
    case Box::GeneratedBuyingPrice:
        boxes = &m_text4;
        break;
    case Box::None:
    case Box::Slot:
        return; // no box to show
    }
    if (!boxes || !std::in_range<qint16>(result.failedRow))
        return;
    QLineEdit *failed = boxes->element(qint16(result.failedRow));
    if (!failed)
        return;
    // The open options panel may lie over the box (rows 4 to 9); it closes as "X" closes it, so
    // that the user sees the box and the focus is nowhere unseen.
    if (m_picture1->isVisible() && m_picture1->geometry().intersects(failed->geometry()))
        m_command4->click();
    // A price box still showing its hint loses it here, through its usual focus handling.
    failed->setFocus(Qt::OtherFocusReason);
    failed->selectAll();
}

void Form1::addRowClicked()
{
    const qint16 n = zeilenanzahl;
    if (n < 0 || n >= LastRow)
        return;
    const auto m = qint16(n + 1); // within 1..13, so no overflow
    if (m_combo1.element(m) || !m_picture1->isHidden())
        return;
    moveRowButtons(RowPitch);

    ItemList *list = m_combo1.create(m);
    placeBelow(list, m_combo1.element(n));
    list->show();
    FillListFromIni(*list, m_cataloguePath, section());
    list->shareEntries(*m_combo1.element(n)); // read anew, but kept once where nothing changed
    QLineEdit *id = m_text1.create(m);
    placeBelow(id, m_text1.element(n));
    id->setText(u"ID"_s);
    id->show();
    QLineEdit *selling = m_text2.create(m);
    placeBelow(selling, m_text2.element(n));
    selling->show();
    QLineEdit *buying = m_text3.create(m);
    placeBelow(buying, m_text3.element(n));
    buying->show();
    QLineEdit *generated = m_text4.create(m);
    placeBelow(generated, m_text4.element(n));
    generated->setVisible(!m_text4.element(n)->isHidden());
    generated->raise();

    nameRow(m);
    connectRow(m);
    QWidget *previous = m_text4.element(n);
    for (QWidget *box : std::initializer_list<QWidget *>{list, id, selling, buying, generated}) {
        setTabOrder(previous, box);
        previous = box;
    }
    selectFirstEntry(m);
    // New rows are created on top; the bottom area must stay in front of them.
    m_picture2->raise();
    m_text5->raise();
    m_command3->raise();
    m_command5->raise();
    updateBuyingPriceFocus();
    announceJoined({list, id, selling, buying, generated});
    zeilenanzahl = m;
}

void Form1::removeRowClicked()
{
    const qint16 n = zeilenanzahl;
    if (n <= 0)
        return;
    if (!m_picture1->isHidden())
        return;
    announceLeaving({m_combo1.element(n), m_text1.element(n), m_text2.element(n),
                     m_text3.element(n), m_text4.element(n)});
    m_combo1.destroy(n);
    m_text1.destroy(n);
    m_text2.destroy(n);
    m_text3.destroy(n);
    m_text4.destroy(n);
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

void Form1::copyToClipboardClicked()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(plainTextOf(*m_text5->document()));
}

void Form1::moveRowButtons(int by)
{
    m_command1->move(m_command1->x(), m_command1->y() + by);
    m_command2->move(m_command2->x(), m_command1->y());
    for (QPushButton *button : {m_command1, m_command2})
        button->setProperty("tag", QString::number(button->y()));
}

void Form1::showMessage(const QString &prompt, const QString &title)
{
    if (m_showMessage) {
        m_showMessage(prompt, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, this);
    box.exec();
}
