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
    void scenarios_data();
    void scenarios();
    void rows_data();
    void rows();
    void layout_data();
    void layout();
    void percentShown_data();
    void percentShown();
    void accessibleNamesAndRoles();
    void rowsLeaveNoDrawingsBehind();
    void tabChain_data();
    void tabChain();
    void returnPressesButtons_data();
    void returnPressesButtons();
    void focusRingStandsOut_data();
    void focusRingStandsOut();
    void codeNotice();

private:
    void open(bool seam = true);
    void play(const QString &steps, bool realBox = false);
    QString probe(const QString &what) const;
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

    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
};

void TestForm1::init()
{
    m_form.reset();
    m_messages.clear();
    writeCatalogue("[ID]\nx=12\ny=7\nz=21\n");
    QGuiApplication::clipboard()->setText(u"earlier"_s); // another program's
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

// Steps, separated by "; ": a control's name clicks it, "@name" focuses it, "name=text" fills a
// box, ticks a check box (1) or sets the bar; "id.txt=text" writes the catalogue, "id.txt" removes
// it (the window opens at the first other step); anything else is keys for the focused control.
// With the real box, each "Generate" answers the message box that it may show.
void TestForm1::play(const QString &steps, bool realBox)
{
    for (const QString &step : steps.split(u"; "_s, Qt::SkipEmptyParts)) {
        const QString name = step.section(u'=', 0, 0);
        const QString value = step.section(u'=', 1);
        if (name == u"id.txt") {
            if (step.contains(u'='))
                writeCatalogue(value.toUtf8());
            else
                QVERIFY(QFile::remove(m_dir.filePath(name)));
            continue;
        }
        if (!m_form)
            open(!realBox);
        const bool answer = realBox && name == u"Command3";
        if (answer)
            QTimer::singleShot(0, this, [this] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                const bool plain = box->icon() == QMessageBox::NoIcon
                        && box->standardButtons() == QMessageBox::Ok;
                m_messages << (plain ? box->windowTitle() + u": "_s + box->text()
                                     : u"no plain box"_s);
                box->done(QMessageBox::Ok);
            });
        QWidget *w = get(name.mid(name.startsWith(u'@') ? 1 : 0));
        if (!w)
            QTest::keySequence(QApplication::focusWidget(), QKeySequence::fromString(step));
        else if (name.startsWith(u'@'))
            w->setFocus(Qt::OtherFocusReason);
        else if (!step.contains(u'='))
            QTest::mouseClick(w, Qt::LeftButton);
        else if (auto *box = qobject_cast<QLineEdit *>(w))
            box->setText(value);
        else if (auto *output = qobject_cast<QPlainTextEdit *>(w))
            output->setPlainText(value);
        else if (auto *check = qobject_cast<QCheckBox *>(w))
            check->setChecked(value == u"1");
        else
            qobject_cast<QAbstractSlider *>(w)->setValue(value.toInt());
        if (answer) {
            // As the window manager does once the box is gone.
            m_form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        }
    }
    if (!m_form)
        open(!realBox);
}

// A control's name reads its text ("chosen of count" for an item list), "?name" whether it
// shows; "focus" names the focused control, "selection" the text selected in it.
QString TestForm1::probe(const QString &what) const
{
    const QWidget *focus = QApplication::focusWidget();
    if (what == u"window")
        return m_form->windowTitle() + (m_form->windowIcon().isNull() ? u""_s : u" with icon"_s);
    if (what == u"rows")
        return QString::number(m_form->zeilenanzahl);
    if (what == u"panel")
        return get(u"Picture1"_s)->isVisible() ? u"shown"_s : u"closed"_s;
    if (what == u"popup")
        return QApplication::activePopupWidget() ? u"popup"_s : u""_s;
    if (what == u"messages" || what == u"box")
        return m_messages.join(u" / ");
    if (what == u"clipboard")
        return QGuiApplication::clipboard()->text();
    if (what == u"focus")
        return focus ? focus->objectName() : u"none"_s;
    if (what == u"selection")
        return qobject_cast<const QLineEdit *>(focus)->selectedText();
    if (what.startsWith(u'?'))
        return get(what.mid(1))->isVisible() ? u"shown"_s : u"hidden"_s;
    const QWidget *w = get(what);
    if (const auto *list = qobject_cast<const QComboBox *>(w))
        return list->currentText() + u" of "_s + QString::number(list->count());
    if (const auto *output = qobject_cast<const QPlainTextEdit *>(w))
        return output->toPlainText();
    return qobject_cast<const QLineEdit *>(w)->text();
}

void TestForm1::scenarios_data()
{
    // Steps as play() takes them, then "=>" and what to read ("box": the real message box).
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("expected"); // what is read, joined by "|"
    const auto row = [](const char *name, const QString &scenario) -> QTestData & {
        return QTest::newRow(name) << scenario;
    };
    const QString code = u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    const QString error = u"Error: Please enter everything before!"_s;
    // Check1: use generated buying price, Check2: buying code, Check3: selling code.
    const QString generate = u"Text5=an earlier code; Command3"_s;
    row("start-up", u" => window focus Combo1_0 Text1_0 Text2_0 Text4_0"_s)
            << u"Quennel with icon|Combo1_0|x of 3|12|Enter sellingprice here|"
               u"Price will be generated"_s;

    row("start-up options", u"Text2_0=250; "_s + generate + u" => Text5 messages"_s) << code + u'|';
    row("typed buying price, focus left alone",
        u"Check1=0; Text2_0=250; Text3_0=200; "_s + generate + u" => Text5 messages focus"_s)
            << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,||Command3"_s;
    row("selling code only", u"Check2=0; Text2_0=250; Command3 => Text5"_s)
            << u"12/1/0/,250.0,false,"_s;
    row("second row with its own item",
        u"Text2_0=250; Command1; @Combo1_1; Down; Text2_1=40; Command3 => Text5"_s)
            << code + u";7/1/0/,40.0,true,;7/1/0/,40.0,false,"_s;
    row("nothing asked for",
        u"Check2=0; Check3=0; Text2_0=250; "_s + generate + u" => Text5 messages"_s)
            << u"|"_s;
    // After the message the focus is on the box that failed, its text selected.
    row("buying hint left: the box takes the focus and loses the hint",
        u"Check1=0; Text2_0=250; "_s + generate + u" => Text5 messages focus Text3_0 selection"_s)
            << u"|"_s + error + u"|Text3_0||"_s;
    row("read-only ID box",
        u"Check1=0; Text1_0=ID; Text2_0=250; Text3_0=200; Command3 => focus selection"_s)
            << u"Text1_0|ID"_s;
    row("selling price", u"Check1=0; Check2=0; Text2_0=12x; Command3 => focus selection"_s)
            << u"Text2_0|12x"_s;
    row("selling price of a later row",
        u"Check1=0; Text2_0=250; Text3_0=200; Command1; Text2_1=40000; Command3"
        u" => focus selection"_s)
            << u"Text2_1|40000"_s;
    row("under the open options panel: the panel closes, the box takes the focus",
        u"Check1=0; Check2=0; Text2_0=250; Command1; Command1; Command1; Text2_3=12x; Command5;"
        u" Command3 => panel focus selection"_s)
            << u"closed|Text2_3|12x"_s;
    row("beside the open options panel: the panel stays",
        u"Check1=0; Check2=0; Text2_0=12x; Command5; Command3 => panel focus"_s)
            << u"shown|Text2_0"_s;
    row("generated price, after the real box, which is plain", u"Command3 => box focus selection"_s)
            << error + u"|Text4_0|Price will be generated"_s;
    row("no catalogue",
        u"id.txt; Command1; Text2_0=250; Command3 => Combo1_0 Combo1_1 Text1_0 Text1_1 messages"_s)
            << u" of 0| of 0|ID|ID|"_s + error;
    row("empty catalogue",
        u"id.txt=; Command1; Text2_0=250; Command3 => Combo1_0 Combo1_1 Text1_0 Text1_1 messages"_s)
            << u" of 0| of 0|ID|ID|"_s + error;
    // The user picks the entry already shown: it is still a choice, and reads the file again.
    row("edited catalogue seen by the next choice",
        u"@Combo1_0; id.txt=[ID]\nx=99\n; Alt+Down; Return => Text1_0"_s)
            << u"99"_s;

    row("a new row takes row 0's selling price", u"Text2_0=250; Command1 => Text2_1 Text4_1"_s)
            << u"250|250"_s;
    row("unticked, no row covers its typed price",
        u"Check1=0; Command1; Command1 => ?Text3_2 ?Text4_0 ?Text4_1 ?Text4_2"_s)
            << u"shown|hidden|hidden|hidden"_s;
    row("ticked again, a new row's generated price follows its own selling price",
        u"Check1=0; Command1; Command1; Check1=1; HScroll1=50; Text2_2=25"
        u" => ?Text4_0 ?Text4_1 ?Text4_2 Text4_2"_s)
            << u"shown|shown|shown|12.5"_s;
    // One key at a time at 50 %: "2" gives "1", "25" "12.5", "250" "125".
    row("the generated price after the first key", u"HScroll1=50; Text2_0; 2 => Text4_0"_s)
            << u"1"_s;
    row("the generated price after the second key", u"HScroll1=50; Text2_0; 2; 5 => Text4_0"_s)
            << u"12.5"_s;
    row("the generated price after the third key", u"HScroll1=50; Text2_0; 2; 5; 0 => Text4_0"_s)
            << u"125"_s;
    row("focus clears only a hint, by click or Tab, in added rows too",
        u"Check1=0; Command1; Text2_0; Text2_0=250; Tab; Text3_0=200; Backtab; Tab; @Text2_1; Tab"
        u" => focus Text2_0 Text3_0 Text2_1 Text3_1"_s)
            << u"Text3_1|250|200||"_s;
    row("copy keeps no-break spaces, makes every line break \\n",
        u"Text5=12/1/0/,\u00A0250.0\u2028x\ny; Command6 => clipboard"_s)
            << u"12/1/0/,\u00A0250.0\nx\ny"_s;
    row("Options leads into the panel", u"Command5 => panel focus"_s) << u"shown|Check1"_s;
    row("closing from inside the panel leads back to Options",
        u"Command5; @HScroll1; Esc => panel focus"_s)
            << u"closed|Command5"_s;
    row("X leads back to Options", u"Command5; Command4 => panel focus"_s) << u"closed|Command5"_s;

    // Keys go to the focused control.
    const QString keys = u"rows panel Text5 clipboard popup"_s;
    row("Ctrl+Return generates, keypad Enter too",
        u"Text2_0=250; @Text2_0; Ctrl+Enter => "_s + keys)
            << u"0|closed|"_s + code + u"|earlier|"_s;
    row("Ctrl+Shift+C copies, from the output box",
        u"Text2_0=250; Ctrl+Return; @Text5; Ctrl+Shift+C => "_s + keys)
            << u"0|closed|"_s + code + u'|' + code + u'|';
    row("Ctrl++ and Ctrl+= add, Ctrl+- removes", u"Ctrl++; Ctrl+=; Ctrl+- => "_s + keys)
            << u"1|closed||earlier|"_s;
    row("rows are fixed while Ctrl+O shows the options",
        u"Ctrl++; Ctrl+O; Ctrl++; Ctrl+- => "_s + keys)
            << u"1|shown||earlier|"_s;
    row("Escape closes them, rows work again", u"Ctrl+O; @Check1; Esc; Ctrl++ => "_s + keys)
            << u"1|closed||earlier|"_s;
    // An item list's popup acts on Return and Escape before the window could see them.
    row("Escape in an item list's popup is the popup's",
        u"Ctrl+O; @Combo1_0; Alt+Down; Esc => "_s + keys)
            << u"0|shown||earlier|"_s;
    row("Return in an item list's popup is the popup's",
        u"@Combo1_0; Alt+Down; Ctrl+Return => "_s + keys)
            << u"0|closed||earlier|"_s;
}

void TestForm1::scenarios()
{
    QFETCH(QString, scenario);
    QFETCH(QString, expected);
    const QStringList what = scenario.section(u" => "_s, 1).split(u' ');
    play(scenario.section(u" => "_s, 0, 0), what.contains(u"box"));
    QStringList read;
    for (const QString &p : what)
        read << probe(p);
    QCOMPARE(read.join(u'|'), expected);
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
    QString steps;
    for (QChar c : clicks) // the buttons Command1, 2, 4 and 5
        steps += u"Command%1; "_s.arg(u"+-.xo"_s.indexOf(c) + 1);
    play(steps);
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
    QCOMPARE(probe(u"Text1"_s + k), u"12"_s);
    // The generated price lies over the typed one; the bottom area, "Options" foremost, over all.
    const auto inFront = [this](const QString &front, const QString &back) {
        return m_form->children().indexOf(get(front)) > m_form->children().indexOf(get(back));
    };
    QVERIFY(inFront(u"Text4"_s + k, u"Text3"_s + k));
    if (last > 0)
        QVERIFY(inFront(u"Picture2"_s, u"Text4"_s + k) && inFront(u"Text5"_s, u"Picture2"_s)
                && inFront(u"Command5"_s, u"Command3"_s));
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

void TestForm1::percentShown_data()
{
    QTest::addColumn<QString>("move"); // keys, or what the mouse does on the bar
    QTest::addColumn<int>("percent");
    QTest::newRow("arrow click") << u"arrow"_s << 99;
    QTest::newRow("track click") << u"track"_s << 90;
    QTest::newRow("drag to the left end") << u"drag"_s << 0;
    QTest::newRow("keys") << u"Left PgDown"_s << 89;
    QTest::newRow("right is more, as the bar is drawn") << u"Home Right PgUp"_s << 11;
}

void TestForm1::percentShown()
{
    QFETCH(QString, move);
    QFETCH(int, percent);
    play(u"Command5"_s);
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
    QCOMPARE(shown->text() + u" read as "_s + read.toString() + u", tip "_s + bar->toolTip(),
             u"%1 % read as %1, tip %1 %"_s.arg(percent));
}

void TestForm1::accessibleNamesAndRoles()
{
    play(u"Command1; Command5"_s);
    const auto read = [](QObject *o) { return QAccessible::queryAccessibleInterface(o); };
    const auto name = [&](const QString &n) { return read(get(n))->text(QAccessible::Name); };
    QCOMPARE(QStringList({name(u"Combo1_0"_s), name(u"Text2_1"_s), name(u"Text4_1"_s),
                          name(u"Picture1"_s)}),
             QStringList({u"Item, row 1"_s, u"Selling price, row 2"_s,
                          u"Generated buying price, row 2"_s, u"Options"_s}));
    QCOMPARE(QList({read(m_form.get())->role(), read(get(u"Picture1"_s))->role()}),
             QList({QAccessible::Window, QAccessible::Grouping}));
    const QRegularExpression control(u"^(Command|Text|Check|HScroll|Picture|Label|Combo)\\d"_s);
    const QList<QWidget *> controls = m_form->findChildren<QWidget *>(control);
    QCOMPARE(controls.size(), 23 + 5);
    for (const QWidget *w : controls)
        QVERIFY2(!name(w->objectName()).isEmpty(), qPrintable(w->objectName()));
}

// The style caches what it draws under the palette's identity: rows that come and go must share
// one palette per column, in row 0's colours, or every new row adds drawings nobody asks for again.
void TestForm1::rowsLeaveNoDrawingsBehind()
{
    play({});
    QList<qint64> keys;
    for (int cycle = 0; cycle < 3; ++cycle) {
        play(u"Command1"_s);
        for (const QString &column : {u"Combo1"_s, u"Text2"_s}) {
            const QPalette palette = get(column + u"_1"_s)->palette();
            QVERIFY(palette == get(column + u"_0"_s)->palette());
            keys << palette.cacheKey();
        }
        play(u"Command2"_s);
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
    play(button == u"Command4" ? u"Command5"_s : QString()); // "X" is inside the options panel
    auto *pushButton = get<QPushButton>(button);
    pushButton->setFocus();
    QSignalSpy clicked(pushButton, &QPushButton::clicked);
    QTest::keyClick(pushButton, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(clicked.count(), 1);
}

namespace {

// The contrast ratio as the web's accessibility guidelines define it.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) {
        double sum = 0.05;
        for (const auto &[value, weight] :
             {std::pair{qRed(rgb), 0.2126}, {qGreen(rgb), 0.7152}, {qBlue(rgb), 0.0722}}) {
            const double c = value / 255.0;
            sum += weight * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return std::max(la, lb) / std::min(la, lb);
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
    const bool inPanel = control.startsWith(u"Check") || control.startsWith(u"HScroll")
            || control == u"Command4";
    play(inPanel ? u"Command1; Command5"_s : u"Command1"_s);
    QWidget *target = get(control);
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
    for (const QString &steps :
         {u"Text2_0=250; Command3"_s, u"Command6"_s, u"Text2_0=12x; Command3"_s}) {
        play(steps);
        seen << told();
    }
    const QString code = u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    QCOMPARE(seen, QStringList({u"nothing"_s, code, code, u"nothing"_s}));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
