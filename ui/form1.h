// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window is the thin layer between the controls and the two libraries below it. Each trade
// row is the element with one index in five control arrays (item list Combo1, ID box Text1,
// selling price Text2, buying price Text3, generated buying price Text4); "+" and "-" create and
// destroy the elements of the last row. Choosing an item asks the catalogue (ReadIni on id.txt,
// read anew every time) for the row's id; a changed selling price asks core for the generated
// buying price at the scroll bar's percentage; "Generate" hands the rows' texts and the three
// options to core, which fills the entry tables of the TradeCode owned here and joins them, and
// the window shows the trade code in Text5 or the one error message, after which the focus goes
// where the fault is fixed and the failed box is marked; "Copy to Clipboard" puts whatever Text5
// holds on the clipboard and says so under the button for a few seconds. Every number is read
// and written in the locale given at construction.
//
// Where each part lives: form1layout.cpp builds the window and names its controls; form1.cpp
// holds the handlers; form1keys.cpp the keys for the window's commands; form1code.cpp "Rows from
// code", which fills the rows from a trade code kept elsewhere; form1copy.cpp "Copy to Clipboard";
// form1access.cpp what lets the keyboard alone and a screen reader do the whole job; traderow.h the
// rows and what sets their columns apart; resultnotice.h what a screen reader is told away from the
// focus (the trade code, the copy, the failed box, the rows from a code); faultmark.h the failed
// box's mark.

#include "tradecode.h"
#include "traderow.h"

#include <QLocale>
#include <QPointer>
#include <QWidget>

#include <functional>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;
QT_END_NAMESPACE

struct CodeReading;
class FaultMark;
struct KeyValues;
class ResultNotice;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    // Shows a modal message (prompt, title) and returns when the user has closed it.
    using ShowMessage = std::function<void(const QString &prompt, const QString &title)>;
    // Asks a modal question (prompt, title) and returns the answer once the user has given it:
    // true for yes.
    using AskQuestion = std::function<bool(const QString &prompt, const QString &title)>;

    Form1(const QString &cataloguePath, const QLocale &locale, QWidget *parent = nullptr);

    // Public, and in this order, as the design fixes the window object's interface.
    qint16 zeilenanzahl = 0; // index of the last trade row
    QString sellcode(const qint16 &id, const qint16 &preis) const;
    QString buycode(const qint16 &id, const qint16 &preis) const;
    QString codezusammenfügen() const;

    // Replace the modal boxes, so that a caller without a user can see and answer them.
    void setShowMessage(ShowMessage show);
    void setAskQuestion(AskQuestion ask);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    static constexpr qint16 LastRow = 13;              // 14 rows at most
    static constexpr int RowPitch = 35;                // pixels from one row to the next
    static constexpr int CopyConfirmationShown = 4000; // milliseconds

    // form1layout.cpp
    void buildLayout();
    void setInitialTabOrder();
    void buildPercentShown();
    void buildCopyConfirmation();
    void placeBelow(QWidget *element, const QWidget *above);
    void nameRow(qint16 row);

    // form1.cpp
    static QString catalogueSection();
    QString outputText() const;
    void connectControls();
    void connectRow(qint16 row);
    void priceBoxEvent(QLineEdit &box, const TradeColumn &column, const QEvent &event);
    void setUpShortcuts();
    void load();
    void selectFirstEntry(qint16 row);
    void itemChosen(qint16 row);
    void sellingPriceChanged(qint16 row);
    void check1Clicked();
    void generateClicked();
    void focusFailedBox(const GenerateResult &result);
    void addRowClicked();
    bool appendRow(const std::function<void(qint16 row)> &fill);
    void removeRowClicked();
    bool sayWhereEmpty(qint16 row);
    void optionsClicked();
    void closeOptionsClicked();
    void copyToClipboardClicked();
    void copyConfirmationDone();
    void moveRowButtons(int by);
    void showMessage(const QString &prompt, const QString &title);

    // form1code.cpp
    void showCodeMenu(const QPoint &at);
    void rowsFromCode(const QString &code);
    bool holdsTypedPrices() const;
    bool askQuestion(const QString &prompt, const QString &title);
    void showCodeRow(qint16 row, const TradeRowTexts &texts, const KeyValues &catalogue, int entry);

    // form1access.cpp
    void setUpAccess();
    void updateBuyingPriceFocus();

    QString m_cataloguePath;
    QLocale m_locale;
    TradeCode m_tradeCode;
    ShowMessage m_showMessage;
    AskQuestion m_askQuestion;

    TradeRows m_rows;

    QPushButton *m_command1 = nullptr; // "+"
    QPushButton *m_command2 = nullptr; // "-"
    QPushButton *m_command3 = nullptr; // "Generate"
    QPushButton *m_command4 = nullptr; // "X"
    QPushButton *m_command5 = nullptr; // "Options"
    QPushButton *m_command6 = nullptr; // "Copy to Clipboard"
    QPlainTextEdit *m_text5 = nullptr;
    QCheckBox *m_check1 = nullptr; // "Use generated buying price"
    QCheckBox *m_check2 = nullptr; // "Generate buying code"
    QCheckBox *m_check3 = nullptr; // "Generate selling code"
    QScrollBar *m_hscroll1 = nullptr;
    QWidget *m_picture1 = nullptr; // options panel
    QWidget *m_picture2 = nullptr; // bottom panel
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_percentShown = nullptr;     // HScroll1's value, in sight without hovering
    ResultNotice *m_codeNotice = nullptr; // Text5's trade code, told to a screen reader
    FaultMark *m_faultMark = nullptr;     // the box the last Generate failed on
    QLabel *m_copyConfirmation = nullptr; // what "Copy to Clipboard" did, for a few seconds
    QTimer *m_copyConfirmationTimer = nullptr;
    ResultNotice *m_copyNotice = nullptr;
    ResultNotice *m_rowsNotice = nullptr; // what "Rows from code" did
    QPointer<QLineEdit> m_clickedInto;    // entered by the click still under way
};
