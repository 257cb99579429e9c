// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace Qt::StringLiterals;

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startUp();
    void rows_data();
    void rows();
    void newRowsFollowRowZeroAndCheck1();
    void generate_data();
    void generate();
    void errorBoxIsPlain();
    void priceHints();
    void editedCatalogueSeenByNextChoice();
    void unusableCatalogue_data();
    void unusableCatalogue();
    void accessibility();
    void layout_data();
    void layout();
    void focusAfterFailure_data();
    void focusAfterFailure();
    void percentShown_data();
    void percentShown();
    void generatedPriceWhileTyping();
    void shortcuts_data();
    void shortcuts();
    void copyKeepsEveryCharacter();
    void rowsLeaveNoDrawingsBehind();
    void tabChain_data();
    void tabChain();
    void returnPressesButtons_data();
    void returnPressesButtons();
    void optionsPanelFocus();
    void focusRingStandsOut_data();
    void focusRingStandsOut();
    void windowRoles();
    void codeNotice();

private:
    void open(bool seam = true);
    void writeCatalogue(const QByteArray &text) const
    {
        QFile file(m_dir.filePath(u"id.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    template<class W = QWidget>
    W *get(const QString &name) const
    {
        return m_form->findChild<W *>(name);
    }
    void click(const QString &name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
    QString text(const QString &name) const { return get<QLineEdit>(name)->text(); }
    void setText(const QString &name, const QString &text) const
    {
        get<QLineEdit>(name)->setText(text);
    }
    // Whether a widget stands in front of another among the window's children.
    bool inFront(const QString &front, const QString &back) const
    {
        return m_form->children().indexOf(get(front)) > m_form->children().indexOf(get(back));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
};

void TestForm1::init()
{
    m_form.reset();
    m_messages.clear();
    writeCatalogue("[ID]\nx=12\ny=7\nz=21\n");
}

void TestForm1::open(bool seam)
{
    m_form = std::make_unique<Form1>(m_dir.filePath(u"id.txt"_s), QLocale(u"en_US"_s));
    if (seam)
        m_form->setShowMessage([this](const QString &prompt, const QString &title) {
            m_messages << title + u": "_s + prompt;
        });
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get())); // focus and clicks need an active window
}

void TestForm1::startUp()
{
    open();
    auto *list = get<QComboBox>(u"Combo1_0"_s);
    QCOMPARE(QStringList({m_form->windowTitle(), QApplication::focusWidget()->objectName(),
                          QString::number(list->count()), list->currentText(), text(u"Text1_0"_s),
                          text(u"Text2_0"_s), text(u"Text4_0"_s)})
                     .join(u'|'),
             u"Quennel|Combo1_0|3|x|12|Enter sellingprice here|Price will be generated"_s);
    QVERIFY(!m_form->windowIcon().isNull());
}

void TestForm1::rows_data()
{
    QTest::addColumn<QString>("clicks"); // + and -, o for "Options", x for its "X"
    QTest::addColumn<int>("last");
    QTest::newRow("row 0 only") << QString() << 0;
    QTest::newRow("one added") << u"+"_s << 1;
    QTest::newRow("thirteen added") << u"+"_s.repeated(13) << 13;
    QTest::newRow("fourteenth click ignored") << u"+"_s.repeated(14) << 13;
    QTest::newRow("row 0 is never removed") << u"-"_s << 0;
    QTest::newRow("added then removed") << u"++-"_s << 1;
    QTest::newRow("blocked while options shown, usable after X") << u"+o+-x+"_s << 2;
}

void TestForm1::rows()
{
    QFETCH(QString, clicks);
    QFETCH(int, last);
    open();
    for (QChar c : clicks) // the buttons Command1, 2, 4 and 5
        click(u"Command"_s + QString::number(u"+-.xo"_s.indexOf(c) + 1));
    QCOMPARE(m_form->zeilenanzahl, last);
    const int top = 64 + 35 * last;
    const QString k = u'_' + QString::number(last);
    QList<QRect> geometries;
    for (const QString &name : {u"Command1"_s, u"Command2"_s, u"Combo1"_s + k, u"Text1"_s + k,
                                u"Text2"_s + k, u"Text3"_s + k, u"Text4"_s + k})
        geometries << get(name)->geometry();
    QCOMPARE(geometries,
             QList<QRect>({{40, top + 32, 25, 25},
                           {72, top + 32, 25, 25},
                           {40, top, 201, 21},
                           {248, top, 49, 19},
                           {312, top, 233, 19},
                           {560, top, 233, 19},
                           {560, top, 233, 19}}));
    QVERIFY(!get(u"Combo1_"_s + QString::number(last + 1)));
    QCOMPARE(text(u"Text1"_s + k), u"12"_s);
    // The generated price lies over the typed one; the bottom area, "Options" foremost, over all.
    QVERIFY(inFront(u"Text4"_s + k, u"Text3"_s + k));
    if (last > 0)
        QVERIFY(inFront(u"Picture2"_s, u"Text4"_s + k) && inFront(u"Text5"_s, u"Picture2"_s)
                && inFront(u"Command5"_s, u"Command3"_s));
}

void TestForm1::newRowsFollowRowZeroAndCheck1()
{
    open();
    const auto shown = [this] {
        QString flags;
        for (const QString &row : {u"_0"_s, u"_1"_s, u"_2"_s})
            flags += get(u"Text4"_s + row)->isVisible() ? u'4' : u'3';
        return flags;
    };
    setText(u"Text2_0"_s, u"250"_s);
    click(u"Command1"_s);
    QCOMPARE(text(u"Text2_1"_s) + u'|' + text(u"Text4_1"_s), u"250|250"_s);
    get<QCheckBox>(u"Check1"_s)->setChecked(false);
    click(u"Command1"_s);
    QVERIFY(get(u"Text3_2"_s)->isVisible());
    QCOMPARE(shown(), u"333"_s);
    get<QCheckBox>(u"Check1"_s)->setChecked(true);
    QCOMPARE(shown(), u"444"_s);
    // A new row's selling price drives its own generated price, at the bar's percentage.
    get<QScrollBar>(u"HScroll1"_s)->setValue(50);
    setText(u"Text2_2"_s, u"25"_s);
    QCOMPARE(text(u"Text4_2"_s), u"12.5"_s);
}

void TestForm1::generate_data()
{
    // Ticked: B buying code, G generated price, S selling code; 2: a second row with item "y";
    // 200: typed in the buying price box, which otherwise keeps its hint.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("code"); // null: the Error box
    QTest::newRow("start-up options") << u"BGS"_s << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    QTest::newRow("typed buying price")
            << u"BS 200"_s << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,"_s;
    QTest::newRow("selling code only") << u"GS"_s << u"12/1/0/,250.0,false,"_s;
    QTest::newRow("second row with its own item")
            << u"BGS 2"_s
            << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,;7/1/0/,40.0,true,;7/1/0/,40.0,false,"_s;
    QTest::newRow("nothing asked for") << u"G"_s << u""_s;
    QTest::newRow("buying hint left in its box") << u"BS"_s << QString();
}

void TestForm1::generate()
{
    QFETCH(QString, steps);
    QFETCH(QString, code);
    open();
    setText(u"Text2_0"_s, u"250"_s);
    if (steps.contains(u"200"))
        setText(u"Text3_0"_s, u"200"_s);
    get<QCheckBox>(u"Check1"_s)->setChecked(steps.contains(u'G'));
    get<QCheckBox>(u"Check2"_s)->setChecked(steps.contains(u'B'));
    get<QCheckBox>(u"Check3"_s)->setChecked(steps.contains(u'S'));
    if (steps.endsWith(u" 2")) {
        click(u"Command1"_s);
        QTest::keyClick(get(u"Combo1_1"_s), Qt::Key_Down); // the user picks "y"
        setText(u"Text2_1"_s, u"40"_s);
    }
    auto *output = get<QPlainTextEdit>(u"Text5"_s);
    output->setPlainText(u"an earlier trade code"_s);
    click(u"Command3"_s);
    QCOMPARE(output->toPlainText(), code);
    QCOMPARE(m_messages,
             code.isNull() ? QStringList{u"Error: Please enter everything before!"_s}
                           : QStringList());
    // "Copy to Clipboard" takes what the box shows now, edits included.
    output->appendPlainText(u"edited"_s);
    click(u"Command6"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), output->toPlainText());
}

void TestForm1::errorBoxIsPlain()
{
    open(false);
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->done(QMessageBox::Ok); // closes it once this returns
        shown = box->windowTitle() + u": "_s + box->text();
        QVERIFY(box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok);
    });
    click(u"Command3"_s); // row 0 still holds its hints
    QCOMPARE(shown, u"Error: Please enter everything before!"_s);
}

// Focus entering a price box clears only its hint, by click or Tab, in added rows too.
void TestForm1::priceHints()
{
    open();
    get<QCheckBox>(u"Check1"_s)->setChecked(false); // the buying price boxes come out from under
    click(u"Command1"_s);                           // row 1 starts with row 0's hints
    click(u"Text2_0"_s);
    setText(u"Text2_0"_s, u"250"_s);
    QTest::keyClick(get(u"Text2_0"_s), Qt::Key_Tab);
    setText(u"Text3_0"_s, u"200"_s);
    QTest::keyClick(get(u"Text3_0"_s), Qt::Key_Backtab);
    QTest::keyClick(get(u"Text2_0"_s), Qt::Key_Tab);
    get(u"Text2_1"_s)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(get(u"Text2_1"_s), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), get(u"Text3_1"_s));
    QCOMPARE(QStringList({text(u"Text2_0"_s), text(u"Text3_0"_s), text(u"Text2_1"_s),
                          text(u"Text3_1"_s)}),
             QStringList({u"250"_s, u"200"_s, u""_s, u""_s}));
}

void TestForm1::editedCatalogueSeenByNextChoice()
{
    open();
    auto *list = get<QComboBox>(u"Combo1_0"_s);
    writeCatalogue("[ID]\nx=99\ny=7\nz=21\n");
    // The user picks the entry already shown: it is still a choice, and reads the file again.
    list->showPopup();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // the open list takes the keys
    QCOMPARE(text(u"Text1_0"_s), u"99"_s);
}

void TestForm1::unusableCatalogue_data()
{
    QTest::addColumn<QByteArray>("contents"); // null: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("empty file") << QByteArray("");
}

void TestForm1::unusableCatalogue()
{
    QFETCH(QByteArray, contents);
    if (contents.isNull())
        QVERIFY(QFile::remove(m_dir.filePath(u"id.txt"_s)));
    else
        writeCatalogue(contents);
    open();
    click(u"Command1"_s);
    setText(u"Text2_0"_s, u"250"_s);
    click(u"Command3"_s);
    QCOMPARE(get<QComboBox>(u"Combo1_0"_s)->count() + get<QComboBox>(u"Combo1_1"_s)->count(), 0);
    QCOMPARE(text(u"Text1_0"_s) + text(u"Text1_1"_s) + m_messages.join(u""),
             u"IDIDError: Please enter everything before!"_s);
}

void TestForm1::accessibility()
{
    open();
    click(u"Command1"_s);
    click(u"Command5"_s);
    const auto name = [&](const QString &objectName) {
        return QAccessible::queryAccessibleInterface(get(objectName))->text(QAccessible::Name);
    };
    QCOMPARE(name(u"Combo1_0"_s) + u'|' + name(u"Text2_1"_s) + u'|' + name(u"Text4_1"_s),
             u"Item, row 1|Selling price, row 2|Generated buying price, row 2"_s);
    const QRegularExpression control(u"^(Command|Text|Check|HScroll|Picture|Label|Combo)\\d"_s);
    const QList<QWidget *> controls = m_form->findChildren<QWidget *>(control);
    QCOMPARE(controls.size(), 23 + 5);
    for (const QWidget *w : controls)
        QVERIFY2(!name(w->objectName()).isEmpty(), qPrintable(w->objectName()));

    QStringList reached; // Tab from the first control until the focus comes round again
    get(u"Combo1_0"_s)->setFocus();
    while (reached.size() < 40 && !reached.contains(QApplication::focusWidget()->objectName())) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The open panel keeps the focus among its own controls.
    QCOMPARE(reached.join(u' '), u"Combo1_0 Check1 Check2 Check3 HScroll1 Command4"_s);

    auto *percent = get<QScrollBar>(u"HScroll1"_s);
    QTest::keyClick(percent, Qt::Key_Home);
    QTest::keyClick(percent, Qt::Key_Right); // right is more, as the bar is drawn
    QTest::keyClick(percent, Qt::Key_PageUp);
    QCOMPARE(QAccessible::queryAccessibleInterface(percent)->valueInterface()->currentValue(),
             QVariant(11));
    QCOMPARE(percent->toolTip(), u"11 %"_s);
}

// Pixels in the container; then the caption, for a button its key, a font only where the control
// has one of its own (as requested: the platform may substitute another), the start-up state.
void TestForm1::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const QRect &geometry) -> QTestData & {
        return QTest::newRow(name) << QString::fromLatin1(name) << geometry;
    };
    row("Picture1", {240, 168, 329, 289}) << u"hidden"_s;
    row("Command4", {304, 8, 17, 17}) << u"X: Close options (Esc) / Esc"_s;
    row("HScroll1", {32, 248, 257, 25}) << u"0..100 at 100"_s;
    row("Check3", {32, 160, 257, 33}) << u"Generate selling code: ticked"_s;
    row("Check2", {32, 120, 257, 33}) << u"Generate buying code: ticked"_s;
    row("Check1", {32, 80, 257, 33}) << u"Use generated buying price: ticked"_s;
    row("Label2", {32, 24, 257, 41}) << u"Options: MS Sans Serif 24 400"_s;
    row("Label1", {32, 224, 257, 25}) << u"Percent of buying price"_s;
    row("PercentShown", {229, 224, 60, 25}) << u"100 %"_s; // on the caption's line, at its end
    row("Picture2", {0, 584, 817, 121}) << u""_s;
    row("Command6", {520, 88, 289, 17})
            << u"Copy to Clipboard: Copy to Clipboard (Ctrl+Shift+C) / Ctrl+Shift+C"_s;
    row("Text5", {24, 608, 489, 81}) << u""_s;
    row("Command3", {520, 608, 153, 57}) << u"Generate: Generate (Ctrl+Return) / Ctrl+Return"_s;
    row("Command5", {680, 608, 129, 57}) << u"Options: Options (Ctrl+O) / Ctrl+O"_s;
    row("Command1", {40, 96, 25, 25}) << u"+: Add row (Ctrl++) / Ctrl++"_s;
    row("Command2", {72, 96, 25, 25}) << u"-: Remove last row (Ctrl+-) / Ctrl+-"_s;
    row("Label5", {40, 8, 265, 41}) << u"Vorlinde: Hobo Std 26.25 500"_s;
    row("Label4", {560, 40, 233, 17}) << u"Buying price"_s;
    row("Label3", {312, 40, 233, 17}) << u"Selling price"_s;
}

void TestForm1::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, shown);
    open();
    const QWidget *w = get(name);
    QStringList seen;
    if (const auto *button = qobject_cast<const QPushButton *>(w))
        seen << button->toolTip() + u" / "_s
                        + QAccessible::queryAccessibleInterface(get(name))->text(
                                QAccessible::Description);
    const QFont font = w->font();
    if (font != m_form->font())
        seen << u"%1 %2 %3"_s.arg(font.family()).arg(font.pointSizeF()).arg(font.weight());
    if (const auto *box = qobject_cast<const QCheckBox *>(w))
        seen << (box->isChecked() ? u"ticked"_s : u"not ticked"_s);
    if (const auto *bar = qobject_cast<const QScrollBar *>(w))
        seen << u"%1..%2 at %3"_s.arg(bar->minimum()).arg(bar->maximum()).arg(bar->value());
    if (w->isHidden())
        seen << u"hidden"_s;
    QString caption = w->property("text").toString();
    if (!caption.isEmpty() && !seen.isEmpty())
        caption += u": "_s;
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(caption + seen.join(u", "), shown);
}

void TestForm1::focusAfterFailure_data()
{
    // The options ticked (B, G, S as in generate), then "Box=text" or "+" for a new row.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("focused"); // after the message: the box, its text|selection
    QTest::newRow("ID box, read-only")
            << QStringList{u"BS"_s, u"Text1_0=ID"_s, u"Text2_0=250"_s, u"Text3_0=200"_s}
            << u"Text1_0 ID|ID"_s;
    QTest::newRow("typed buying price loses its hint")
            << QStringList{u"BS"_s, u"Text2_0=250"_s} << u"Text3_0 |"_s;
    QTest::newRow("generated buying price, after the real box")
            << QStringList{u"BGS"_s}
            << u"Text4_0 Price will be generated|Price will be generated"_s;
    QTest::newRow("selling price") << QStringList{u"S"_s, u"Text2_0=12x"_s} << u"Text2_0 12x|12x"_s;
    QTest::newRow("selling price of a later row")
            << QStringList{u"BS"_s, u"Text2_0=250"_s, u"Text3_0=200"_s, u"+"_s, u"Text2_1=40000"_s}
            << u"Text2_1 40000|40000"_s;
    QTest::newRow("no failure, focus left alone")
            << QStringList{u"BS"_s, u"Text2_0=250"_s, u"Text3_0=200"_s} << u"Command3"_s;
}

void TestForm1::focusAfterFailure()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, focused);
    const bool realBox = focused.startsWith(u"Text4");
    open(!realBox);
    const QString options = steps.takeFirst();
    get<QCheckBox>(u"Check1"_s)->setChecked(options.contains(u'G'));
    get<QCheckBox>(u"Check2"_s)->setChecked(options.contains(u'B'));
    get<QCheckBox>(u"Check3"_s)->setChecked(options.contains(u'S'));
    for (const QString &step : steps) {
        if (step == u"+")
            click(u"Command1"_s);
        else
            setText(step.section(u'=', 0, 0), step.section(u'=', 1));
    }
    if (realBox)
        QTimer::singleShot(0, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Ok);
        });
    click(u"Command3"_s);
    if (realBox) { // as the window manager does once the box is gone
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    const QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    const auto *box = qobject_cast<const QLineEdit *>(focus);
    QCOMPARE(focus->objectName() + (box ? u' ' + box->text() + u'|' + box->selectedText() : u""_s),
             focused);
}

void TestForm1::percentShown_data()
{
    QTest::addColumn<QString>("move"); // keys, or what the mouse does on the bar
    QTest::addColumn<int>("percent");
    QTest::newRow("arrow click") << u"arrow"_s << 99;
    QTest::newRow("track click") << u"track"_s << 90;
    QTest::newRow("drag to the left end") << u"drag"_s << 0;
    QTest::newRow("keys") << u"Left PgDown"_s << 89;
}

void TestForm1::percentShown()
{
    QFETCH(QString, move);
    QFETCH(int, percent);
    open();
    click(u"Command5"_s);
    auto *bar = get<QScrollBar>(u"HScroll1"_s);
    const auto *shown = get<QLabel>(u"PercentShown"_s);
    const auto centre = [bar](QStyle::SubControl part) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.state |= QStyle::State_Horizontal;
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.pageStep = bar->pageStep();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
    };
    if (move == u"arrow") {
        QTest::mouseClick(bar, Qt::LeftButton, {}, centre(QStyle::SC_ScrollBarSubLine));
    } else if (move == u"track") {
        QTest::mouseClick(bar, Qt::LeftButton, {}, centre(QStyle::SC_ScrollBarSubPage));
    } else if (move == u"drag") {
        QTest::mousePress(bar, Qt::LeftButton, {}, centre(QStyle::SC_ScrollBarSlider));
        QTest::mouseMove(bar, centre(QStyle::SC_ScrollBarGroove));
        QVERIFY(bar->value() < 100);
        QCOMPARE(shown->text(), u"%1 %"_s.arg(bar->value())); // while it is dragged
        QTest::mouseMove(bar, centre(QStyle::SC_ScrollBarSubLine));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, centre(QStyle::SC_ScrollBarSubLine));
    } else {
        for (const QString &key : move.split(u' '))
            QTest::keySequence(bar, QKeySequence::fromString(key));
    }
    QVERIFY(shown->isVisible());
    const QVariant read
            = QAccessible::queryAccessibleInterface(bar)->valueInterface()->currentValue();
    QCOMPARE(shown->text() + u" read as "_s + read.toString(), u"%1 % read as %1"_s.arg(percent));
}

void TestForm1::generatedPriceWhileTyping()
{
    open();
    get<QScrollBar>(u"HScroll1"_s)->setValue(50);
    click(u"Text2_0"_s);
    QStringList generated;
    for (const char c : {'2', '5', '0'}) {
        QTest::keyClick(get(u"Text2_0"_s), c);
        generated << text(u"Text4_0"_s);
    }
    QCOMPARE(generated, QStringList({u"1"_s, u"12.5"_s, u"125"_s}));
}

void TestForm1::shortcuts_data()
{
    // Keys go to the focused control; a control's name puts the focus there first.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("state"); // last row, options panel, output box, clipboard
    const QString code = u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    QTest::newRow("Ctrl+Return generates, keypad Enter too")
            << u"Text2_0; Ctrl+Enter"_s << u"0 closed ["_s + code + u"] [earlier]"_s;
    QTest::newRow("Ctrl+Shift+C copies, from the output box")
            << u"Ctrl+Return; Text5; Ctrl+Shift+C"_s
            << u"0 closed ["_s + code + u"] ["_s + code + u']';
    QTest::newRow("Ctrl++ and Ctrl+= add, Ctrl+- removes")
            << u"Ctrl++; Ctrl+=; Ctrl+-"_s << u"1 closed [] [earlier]"_s;
    QTest::newRow("rows are fixed while Ctrl+O shows the options")
            << u"Ctrl++; Ctrl+O; Ctrl++; Ctrl+-"_s << u"1 shown [] [earlier]"_s;
    QTest::newRow("Escape closes them, rows work again")
            << u"Ctrl+O; Check1; Esc; Ctrl++"_s << u"1 closed [] [earlier]"_s;
    // An item list's popup acts on Return and Escape before the window could see them.
    QTest::newRow("Escape in an item list's popup is the popup's")
            << u"Ctrl+O; Combo1_0; Alt+Down; Esc"_s << u"0 shown [] [earlier]"_s;
    QTest::newRow("Return in an item list's popup is the popup's")
            << u"Combo1_0; Alt+Down; Ctrl+Return"_s << u"0 closed [] [earlier]"_s;
}

void TestForm1::shortcuts()
{
    QFETCH(QString, keys);
    QFETCH(QString, state);
    open();
    setText(u"Text2_0"_s, u"250"_s);
    QGuiApplication::clipboard()->setText(u"earlier"_s);
    for (const QString &key : keys.split(u"; "_s)) {
        if (QWidget *control = get(key))
            control->setFocus(Qt::OtherFocusReason);
        else
            QTest::keySequence(QApplication::focusWidget(), QKeySequence::fromString(key));
    }
    QCOMPARE(u"%1 %2 [%3] [%4]%5"_s.arg(m_form->zeilenanzahl)
                     .arg(get(u"Picture1"_s)->isVisible() ? u"shown"_s : u"closed"_s,
                          get<QPlainTextEdit>(u"Text5"_s)->toPlainText(),
                          QGuiApplication::clipboard()->text(),
                          QApplication::activePopupWidget() ? u" popup open"_s : QString()),
             state);
}

// No-break spaces reach the clipboard as they are; line breaks of every kind become "\n".
void TestForm1::copyKeepsEveryCharacter()
{
    open();
    get<QPlainTextEdit>(u"Text5"_s)->setPlainText(u"12/1/0/,\u00A0250.0\u2028x\ny"_s);
    click(u"Command6"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"12/1/0/,\u00A0250.0\nx\ny"_s);
}

// The style caches what it draws under the palette's identity: rows that come and go must share
// one palette per column, in row 0's colours, or every new row adds drawings nobody asks for again.
void TestForm1::rowsLeaveNoDrawingsBehind()
{
    open();
    QList<qint64> keys;
    for (int cycle = 0; cycle < 3; ++cycle) {
        click(u"Command1"_s);
        for (const QString &column : {u"Combo1"_s, u"Text2"_s}) {
            const QPalette palette = get(column + u"_1"_s)->palette();
            QVERIFY(palette == get(column + u"_0"_s)->palette());
            keys << palette.cacheKey();
        }
        click(u"Command2"_s);
    }
    QCOMPARE(keys.mid(2), keys.mid(0, 2) + keys.mid(0, 2));
}

void TestForm1::tabChain_data()
{
    // + adds a row, 0 and 1 untick and tick "Use generated buying price", o opens the options.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("chain"); // Tab from where the focus is until it comes round
    const auto rows = [](int count, const QString &price) {
        QStringList names;
        for (int k = 0; k < count; ++k) {
            for (const QString &column : {u"Combo1"_s, u"Text1"_s, u"Text2"_s, price})
                names << column + u'_' + QString::number(k);
        }
        return names.join(u' ') + u" Command1 Command2 Command3 Text5 Command5 Command6"_s;
    };
    const QString thirteen = u"+"_s.repeated(13);
    const QString panel = u"Check1 Check2 Check3 HScroll1 Command4"_s;
    QTest::newRow("1 row, typed price covered") << QString() << rows(1, u"Text4"_s);
    QTest::newRow("1 row, typed price shown") << u"0"_s << rows(1, u"Text3"_s);
    QTest::newRow("14 rows made covered") << thirteen << rows(14, u"Text4"_s);
    QTest::newRow("14 rows made shown, covered again")
            << u"0"_s + thirteen + u"1"_s << rows(14, u"Text4"_s);
    QTest::newRow("14 rows made covered, shown") << thirteen + u"0"_s << rows(14, u"Text3"_s);
    QTest::newRow("panel over 14 rows") << thirteen + u"o"_s << panel;
    QTest::newRow("panel, typed price shown") << u"0o"_s << panel;
}

void TestForm1::tabChain()
{
    QFETCH(QString, steps);
    QFETCH(QString, chain);
    open();
    get(u"Combo1_0"_s)->setFocus();
    for (QChar step : steps) {
        if (step == u'+')
            get<QPushButton>(u"Command1"_s)->click();
        else if (step == u'o')
            get<QPushButton>(u"Command5"_s)->click(); // takes the focus into the panel
        else
            get<QCheckBox>(u"Check1"_s)->setChecked(step == u'1');
    }
    const auto walk = [](Qt::Key key) {
        QStringList reached;
        while (reached.size() < 80
               && !reached.contains(QApplication::focusWidget()->objectName())) {
            reached << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        return reached;
    };
    const QStringList forward = walk(Qt::Key_Tab);
    QCOMPARE(forward.join(u' '), chain);
    QStringList backward = forward.mid(1);
    std::reverse(backward.begin(), backward.end());
    QCOMPARE(walk(Qt::Key_Backtab), forward.mid(0, 1) + backward);
}

void TestForm1::returnPressesButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    for (const QString &button : {u"Command1"_s, u"Command2"_s, u"Command3"_s, u"Command4"_s,
                                  u"Command5"_s, u"Command6"_s}) {
        QTest::addRow("Return on %s", qPrintable(button)) << button << int(Qt::Key_Return);
        QTest::addRow("Enter on %s", qPrintable(button)) << button << int(Qt::Key_Enter);
    }
}

void TestForm1::returnPressesButtons()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    open();
    if (button == u"Command4")
        click(u"Command5"_s); // "X" is inside the options panel
    auto *pushButton = get<QPushButton>(button);
    pushButton->setFocus();
    QSignalSpy clicked(pushButton, &QPushButton::clicked);
    QTest::keyClick(pushButton, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(clicked.count(), 1);
}

// "Options" leads into the panel, and closing it leads back to "Options" from wherever the focus
// is in the panel (Escape closes it from anywhere).
void TestForm1::optionsPanelFocus()
{
    open();
    click(u"Command5"_s);
    QCOMPARE(QApplication::focusWidget(), get(u"Check1"_s));
    get(u"HScroll1"_s)->setFocus();
    get<QPushButton>(u"Command4"_s)->click();
    QVERIFY(get(u"Picture1"_s)->isHidden());
    QCOMPARE(QApplication::focusWidget(), get(u"Command5"_s));
}

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb))
            + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

void TestForm1::focusRingStandsOut_data()
{
    QTest::addColumn<QString>("control");
    for (const QString &control :
         {u"Combo1_1"_s, u"Text1_1"_s, u"Text2_1"_s, u"Text4_1"_s, u"Command1"_s, u"Command3"_s,
          u"Text5"_s, u"Command5"_s, u"Command6"_s, u"Check1"_s, u"HScroll1"_s, u"Command4"_s})
        QTest::newRow(qPrintable(control)) << control;
}

// Every point of the ring differs from what the same point shows without the focus (there: the
// ground it lies on) by 3:1 at least.
void TestForm1::focusRingStandsOut()
{
    QFETCH(QString, control);
    open();
    click(u"Command1"_s);
    QWidget *target = get(control);
    if (control.startsWith(u"Check") || control.startsWith(u"HScroll") || control == u"Command4")
        click(u"Command5"_s);
    const QRect r(target->mapTo(m_form.get(), QPoint(0, 0)), target->size());
    const QList<QPoint> ring = {{r.left() - 1, r.center().y()},
                                {r.right() + 1, r.center().y()},
                                {r.center().x(), r.top() - 2},
                                {r.center().x(), r.bottom() + 2}};
    target->setFocus();
    const QImage focused = m_form->grab().toImage();

    get(u"Text2_0"_s)->setFocus();
    const QImage unfocused = m_form->grab().toImage();
    for (const QPoint &p : ring) {
        const double ratio = contrast(focused.pixel(p), unfocused.pixel(p));
        QVERIFY2(ratio >= 3.0,
                 qPrintable(u"%1 at %2,%3: %4:1"_s.arg(control).arg(p.x()).arg(p.y()).arg(ratio)));
    }
}

void TestForm1::windowRoles()
{
    open();
    const auto *window = QAccessible::queryAccessibleInterface(m_form.get());
    const auto *panel = QAccessible::queryAccessibleInterface(get(u"Picture1"_s));
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(panel->role(), QAccessible::Grouping);
    QCOMPARE(panel->text(QAccessible::Name), u"Options"_s);
}

// The trade code is told to a screen reader by a notice among the window's children; a failed
// Generate withdraws it with the code, and copying tells nothing new.
void TestForm1::codeNotice()
{
    open();
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_form.get());
    const int last = window->childCount() - 1;
    QAccessibleInterface *notice = window->child(last);
    QVERIFY(notice && notice->role() == QAccessible::Notification);
    QCOMPARE(notice->text(QAccessible::Name), u"Trade code"_s);
    QCOMPARE(notice->parent()->object(), m_form.get());
    QCOMPARE(window->indexOfChild(notice), last);
    const auto told = [notice] {
        return notice->state().invisible ? u"nothing"_s : notice->text(QAccessible::Description);
    };
    QStringList seen{told()};
    setText(u"Text2_0"_s, u"250"_s);
    click(u"Command3"_s);
    seen << told();
    click(u"Command6"_s);
    seen << told();
    setText(u"Text2_0"_s, u"12x"_s);
    click(u"Command3"_s);
    seen << told();
    const QString code = u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    QCOMPARE(seen, QStringList({u"nothing"_s, code, code, u"nothing"_s}));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
