// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultmark.h"
#include "focusring.h"
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Each behaviour's table: steps as play() takes them, then " => " and what probe() reads, the
// readings joined by "|".
void scenarioTable()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("expected");
}

QTestData &scenario(const char *name, const QString &steps)
{
    return QTest::newRow(name) << steps;
}

const QString Error = u"Error: Please enter everything before!"_s;
// The window's controls by the names the design gives them.
const QRegularExpression Control(u"^(Command|Text|Check|HScroll|Picture|Label|Combo)\\d"_s);
const QString Code = u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;

// Fills a box, ticks a check box (1) or not (0), sets a bar or a timer's milliseconds; false where
// the control takes no such value.
bool fill(QObject *w, const QString &value)
{
    bool number = false;
    const int percent = value.toInt(&number);
    if (auto *timer = qobject_cast<QTimer *>(w); timer && number)
        timer->setInterval(percent);
    else if (auto *box = qobject_cast<QLineEdit *>(w))
        box->setText(value);
    else if (auto *output = qobject_cast<QPlainTextEdit *>(w))
        output->setPlainText(value);
    else if (auto *check = qobject_cast<QCheckBox *>(w); check && (value == u"0" || value == u"1"))
        check->setChecked(value == u"1");
    else if (auto *bar = qobject_cast<QAbstractSlider *>(w); bar && number)
        bar->setValue(percent);
    else
        return false;
    return true;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void catalogueFillsListsAndIds_data();
    void catalogueFillsListsAndIds() { runScenario(); }
    void generateAndCopy_data();
    void generateAndCopy() { runScenario(); }
    void generatedBuyingPrice_data();
    void generatedBuyingPrice() { runScenario(); }
    void focusGoesWhereTheUserWorks_data();
    void focusGoesWhereTheUserWorks() { runScenario(); }
    void keysClickTheirButtons_data();
    void keysClickTheirButtons() { runScenario(); }
    void rowsFromCode_data();
    void rowsFromCode() { runScenario(); }
    void rowsFromCodeGenerateTheCode_data();
    void rowsFromCodeGenerateTheCode() { runScenario(); }
    void rowsAddAndRemoveAtTheEnd_data();
    void rowsAddAndRemoveAtTheEnd();
    void screenReaderNamesEveryControl();
    void rowsLeaveNoDrawingsBehind();
    void tabVisitsWhatCanBeWorked_data();
    void tabVisitsWhatCanBeWorked();
    void ringsStandOut_data();
    void ringsStandOut();

private:
    void open(bool seam = true);
    void runScenario();
    bool play(const QString &steps, bool realBox = false);
    QString doStep(const QString &step, bool realBox);
    static void click(QWidget *w);
    QString clickAnsweringTheBox(QWidget *w);
    std::optional<QString> surroundingsStep(const QString &step);
    static QMenu *openMenu(QWidget *w);
    static QString chooseFromMenu(QWidget *w, const QString &entry);
    static QString menuEntries(QWidget *w);
    QString probe(const QString &what) const;
    static QString shownText(const QWidget *w);
    QString notices() const;
    QString controlsUnder(const QWidget &w) const;
    void writeCatalogue(const QByteArray &text) const
    {
        QFile file(m_dir.filePath(u"id.txt"_s));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        QCOMPARE(file.write(text), text.size());
    }
    template<class W = QWidget>
    W *get(const QString &name) const
    {
        return m_form->findChild<W *>(name);
    }

    QTemporaryDir m_dir;
    QLocale m_locale;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
    bool m_answer = true; // to every question the window asks
};

void TestForm1::init()
{
    m_form.reset();
    m_messages.clear();
    m_answer = true;
    m_locale = QLocale(u"en_US"_s);
    writeCatalogue("[ID]\nx=12\ny=7\nz=21\n");
    QGuiApplication::clipboard()->setText(u"earlier"_s); // another program's
}

void TestForm1::open(bool seam)
{
    m_form = std::make_unique<Form1>(m_dir.filePath(u"id.txt"_s), m_locale);
    if (seam)
        m_form->setShowMessage([this](const QString &prompt, const QString &title) {
            m_messages << title + u": "_s + prompt;
        });
    if (seam)
        m_form->setAskQuestion([this](const QString &prompt, const QString &title) {
            m_messages << title + u": "_s + prompt;
            return m_answer;
        });
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get())); // focus and clicks need an active window
}

void TestForm1::runScenario()
{
    QFETCH(QString, scenario);
    QFETCH(QString, expected);
    const QStringList what = scenario.section(u" => "_s, 1).split(u' ');
    if (!play(scenario.section(u" => "_s, 0, 0), what.contains(u"box")))
        return;
    QStringList read;
    for (const QString &p : what)
        read << probe(p);
    // The catalogue's folder differs from run to run.
    expected.replace(u"<dir>"_s, QDir::toNativeSeparators(m_dir.path()));
    if (!QTest::currentTestFailed())
        QCOMPARE(read.join(u'|'), expected);
}

// Steps, separated by "; ": "Name" clicks a control, "@Name" focuses it, "Name=text" fills a
// box, ticks a check box (1) or not (0), sets the bar or a timer; "<keys>" go to the focused
// control; "wait" lets the window's timers run out; "id.txt=text" writes the catalogue, "id.txt"
// removes it, "sample id.txt" writes the sample that comes with the program; "locale=name", before
// the window opens at the first other step, is the user's locale; "clipboard=text" is another
// program's copy; "answer=no" (or yes) answers the window's questions; "menu:Name=entry" chooses
// the entry of the control's context menu. With the real box, each "Command3" answers the message
// box that it may show. A step that cannot be done fails the test, naming the step.
bool TestForm1::play(const QString &steps, bool realBox)
{
    for (const QString &step : steps.split(u"; "_s, Qt::SkipEmptyParts)) {
        const QString fault = doStep(step, realBox);
        if (!fault.isEmpty())
            QTest::qFail(qPrintable(u"step \"%1\": %2"_s.arg(step, fault)), __FILE__, __LINE__);
        if (QTest::currentTestFailed())
            return false;
    }
    if (!m_form)
        open(!realBox);
    return !QTest::currentTestFailed();
}

// What keeps a step that sets the window's surroundings from being done, or nothing; no value
// for any other step.
std::optional<QString> TestForm1::surroundingsStep(const QString &step)
{
    const QString name = step.section(u'=', 0, 0);
    const QString value = step.section(u'=', 1);
    if (name == u"locale") {
        if (m_form)
            return u"the window is open already"_s;
        m_locale = QLocale(value);
        return QString();
    }
    if (name == u"clipboard") {
        QGuiApplication::clipboard()->setText(value);
        return QString();
    }
    if (name == u"answer") {
        m_answer = value == u"yes";
        return QString();
    }
    if (step == u"sample id.txt") {
        QFile sample(QStringLiteral(SAMPLE_CATALOGUE));
        if (!sample.open(QIODevice::ReadOnly))
            return sample.errorString();
        writeCatalogue(sample.readAll());
        return QString();
    }
    if (name == u"id.txt") {
        if (step.contains(u'='))
            writeCatalogue(value.toUtf8());
        else if (!QFile::remove(m_dir.filePath(name)))
            return u"no catalogue to remove"_s;
        return QString();
    }
    return std::nullopt;
}

// What keeps the step from being done, or nothing.
QString TestForm1::doStep(const QString &step, bool realBox)
{
    if (const std::optional<QString> fault = surroundingsStep(step))
        return *fault;
    const QString name = step.section(u'=', 0, 0);
    const QString value = step.section(u'=', 1);
    if (!m_form)
        open(!realBox);
    if (step.startsWith(u'<') && step.endsWith(u'>')) {
        const QKeySequence keys = QKeySequence::fromString(step.sliced(1).chopped(1));
        if (keys.isEmpty() || keys[0].key() == Qt::Key_unknown)
            return u"no such key"_s;
        QTest::keySequence(QApplication::focusWidget(), keys);
        return {};
    }
    if (step == u"wait") {
        const QList<QTimer *> timers = m_form->findChildren<QTimer *>();
        return QTest::qWaitFor([&] { return std::ranges::none_of(timers, &QTimer::isActive); })
                ? QString()
                : u"a timer still runs"_s;
    }
    if (name.startsWith(u"menu:"))
        return chooseFromMenu(get(name.sliced(5)), value);
    if (step.contains(u'=')) {
        auto *target = get<QObject>(name);
        if (!target)
            return u"no such control"_s;
        return fill(target, value) ? QString() : u"the control takes no such value"_s;
    }
    QWidget *w = get(name.mid(name.startsWith(u'@') ? 1 : 0));
    if (!w)
        return u"no such control"_s;
    if (name.startsWith(u'@'))
        w->setFocus(Qt::OtherFocusReason);
    else if (realBox && name == u"Command3")
        return clickAnsweringTheBox(w);
    else
        click(w);
    return {};
}

// A user clicks on what they see: the control is drawn first, so that a click in a box lands on
// its text as drawn, not as it lay before the text changed.
void TestForm1::click(QWidget *w)
{
    w->repaint();
    QTest::mouseClick(w, Qt::LeftButton);
}

// The real message box that the click may show is answered, and the window is made active
// again, as the window manager does once the box is gone.
QString TestForm1::clickAnsweringTheBox(QWidget *w)
{
    QTimer::singleShot(0, this, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        const bool plain
                = box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok;
        m_messages << (plain ? box->windowTitle() + u": "_s + box->text() : u"no plain box"_s);
        box->done(QMessageBox::Ok);
    });
    click(w);
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form.get()) ? QString() : u"the window stays inactive"_s;
}

// The control's context menu, opened as the menu key opens it; nullptr where none opens.
QMenu *TestForm1::openMenu(QWidget *w)
{
    if (!w)
        return nullptr;
    auto *area = qobject_cast<QAbstractScrollArea *>(w);
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, w->mapToGlobal(at));
    QApplication::sendEvent(area ? area->viewport() : w, &event);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// What keeps the entry of the control's context menu from being chosen, or nothing.
QString TestForm1::chooseFromMenu(QWidget *w, const QString &entry)
{
    QMenu *menu = openMenu(w);
    if (!menu)
        return u"no menu"_s;
    const QList<QAction *> entries = menu->actions();
    const auto found = std::ranges::find(entries, entry, &QAction::text);
    menu->close();
    if (found == entries.end())
        return u"no such entry"_s;
    (*found)->trigger();
    return {};
}

// The entries of the control's context menu as the user reads them, without keys.
QString TestForm1::menuEntries(QWidget *w)
{
    QMenu *menu = openMenu(w);
    QStringList entries;
    for (const QAction *entry : menu ? menu->actions() : QList<QAction *>()) {
        if (!entry->isSeparator())
            entries << entry->text().section(u'\t', 0, 0).remove(u'&');
    }
    if (menu)
        menu->close();
    return entries.join(u", "_s);
}

// A control's name reads its text ("chosen of count" for an item list), "?Name" whether it
// shows, "tip:Name" a control's tooltip and the description a screen reader reads, "menu:Name" its
// context menu's entries; "focus" names
// the focused control, "selection" the text selected in it, "mark" the box marked as failed;
// "notice" what the window's notices tell a screen reader now; "over:Name" the controls that
// Name lies over; the rest reads the window's state. Anything else fails the test.
QString TestForm1::probe(const QString &what) const
{
    const QWidget *focus = QApplication::focusWidget();
    const auto fail = [&what] {
        QTest::qFail(qPrintable(u"nothing to read as \"%1\""_s.arg(what)), __FILE__, __LINE__);
        return QString();
    };
    if (what == u"notice") {
        const QString told = notices();
        return told.isNull() ? fail() : told;
    }
    if (what == u"mark") {
        const auto *mark = get<ControlRing>(u"FaultMark"_s);
        return mark->isVisible() && mark->control() ? mark->control()->objectName() : u"none"_s;
    }
    if (const QWidget *w = what.startsWith(u"over:") ? get(what.sliced(5)) : nullptr)
        return controlsUnder(*w);
    if (QWidget *button = what.startsWith(u"tip:") ? get(what.sliced(4)) : nullptr)
        return button->toolTip() + u" / "_s
                + QAccessible::queryAccessibleInterface(button)->text(QAccessible::Description);
    if (what.startsWith(u"menu:"))
        return menuEntries(get(what.sliced(5)));
    if (what == u"percent") {
        auto *bar = get<QScrollBar>(u"HScroll1"_s);
        const QVariant read
                = QAccessible::queryAccessibleInterface(bar)->valueInterface()->currentValue();
        return get<QLabel>(u"PercentShown"_s)->text() + u" read as "_s + read.toString()
                + u", tip "_s + bar->toolTip();
    }
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
    if (what == u"selection") {
        const auto *box = qobject_cast<const QLineEdit *>(focus);
        return box ? box->selectedText() : fail();
    }
    const QWidget *w = get(what.mid(what.startsWith(u'?') ? 1 : 0));
    if (w && what.startsWith(u'?'))
        return w->isVisible() ? u"shown"_s : u"hidden"_s;
    const QString text = shownText(w);
    return text.isNull() ? fail() : text;
}

// The control's text, "chosen of count" for an item list, 1 or 0 for a check box; a null text
// for a control that shows none.
QString TestForm1::shownText(const QWidget *w)
{
    if (const auto *check = qobject_cast<const QCheckBox *>(w))
        return check->isChecked() ? u"1"_s : u"0"_s;
    if (const auto *list = qobject_cast<const QComboBox *>(w))
        return list->currentText() + u" of "_s + QString::number(list->count());
    if (const auto *output = qobject_cast<const QPlainTextEdit *>(w))
        return output->toPlainText();
    if (const auto *box = qobject_cast<const QLineEdit *>(w))
        return box->text().isNull() ? u""_s : box->text();
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return label->text().isNull() ? u""_s : label->text();
    return {};
}

// What the notices among the window's accessible children tell now, or a null text where one
// does not lead back to the window.
QString TestForm1::notices() const
{
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_form.get());
    QStringList told;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *notice = window->child(i);
        if (notice->role() != QAccessible::Notification)
            continue;
        if (window->indexOfChild(notice) != i || notice->parent()->object() != m_form.get())
            return {};
        if (!notice->state().invisible)
            told << notice->text(QAccessible::Name) + u": "_s
                            + notice->text(QAccessible::Description);
    }
    return told.isEmpty() ? u"nothing"_s : told.join(u" / "_s);
}

// The shown controls that the widget lies over, its own containers aside, and whether any of it
// lies outside the window.
QString TestForm1::controlsUnder(const QWidget &w) const
{
    const auto inWindow = [this](const QWidget *c) {
        return QRect(c->mapTo(m_form.get(), QPoint(0, 0)), c->size());
    };
    QStringList under;
    if (!m_form->rect().contains(inWindow(&w)))
        under << u"outside the window"_s;
    for (const QWidget *c : m_form->findChildren<QWidget *>(Control)) {
        if (c != &w && !c->isAncestorOf(&w) && c->isVisible()
            && inWindow(c).intersects(inWindow(&w)))
            under << c->objectName();
    }
    return under.join(u' ');
}

void TestForm1::catalogueFillsListsAndIds_data()
{
    scenarioTable();
    scenario("start-up", u" => focus Combo1_0 Text1_0 Text2_0 Text4_0 notice percent"_s)
            << u"Combo1_0|x of 3|12|Enter sellingprice here|Price will be generated|"
               u"nothing|100 % read as 100, tip 100 %"_s;
    scenario("a second row with its own item",
             u"Text2_0=250; Command1; @Combo1_1; <Down>; Text2_1=40; Command3 => Text5"_s)
            << Code + u";7/1/0/,40.0,true,;7/1/0/,40.0,false,"_s;
    // An empty list says where the program looked, to a screen reader too; its text stays empty.
    scenario("no catalogue",
             u"id.txt; Command1; Text2_0=250; Command3"
             u" => Combo1_0 Combo1_1 tip:Combo1_0 tip:Combo1_1 Text1_0 Text1_1 messages"_s)
            << u" of 0| of 0| / No items: no id.txt in <dir>| / No items: no id.txt in <dir>|ID|ID|"_s
                    + Error;
    // The user picks the entry already shown: it is still a choice, and reads the file again.
    scenario("an edited catalogue is seen by the next choice",
             u"@Combo1_0; id.txt=[ID]\nx=99\n; <Alt+Down>; <Return> => Text1_0"_s)
            << u"99"_s;
}

// Check1: use generated buying price, Check2: buying code, Check3: selling code.
void TestForm1::generateAndCopy_data()
{
    scenarioTable();
    const QString generate = u"Text5=an earlier code; Command3"_s;
    scenario("with the options as they start",
             u"Text2_0=250; "_s + generate + u" => Text5 messages"_s)
            << Code + u'|';
    scenario("with the typed buying price, the focus left alone",
             u"Check1=0; Text2_0=250; Text3_0=200; "_s + generate + u" => Text5 messages focus"_s)
            << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,||Command3"_s;
    scenario("selling code only", u"Check2=0; Text2_0=250; Command3 => Text5"_s)
            << u"12/1/0/,250.0,false,"_s;
    scenario("nothing asked for",
             u"Check2=0; Check3=0; Text2_0=250; "_s + generate + u" => Text5 messages"_s)
            << u"|"_s;
    // A screen reader is told the trade code, then the copy; a failure withdraws the code and
    // names the box that failed instead.
    scenario("told to a screen reader", u"Text2_0=250; Command3; Command6 => notice"_s)
            << u"Trade code: "_s + Code + u" / Copy to Clipboard: Copied 40 characters"_s;
    scenario("withdrawn from a screen reader by a failure",
             u"Text2_0=250; Command3; Text2_0=12x; Command3 => notice"_s)
            << u"Error: Selling price, row 1"_s;
    // The copy is confirmed under its button, where it covers nothing, and goes by itself.
    scenario("confirmed in characters as they are seen",
             u"Text5=e\u0301\U0001F642\nx; Command6 => CopyConfirmation ?CopyConfirmation"
             u" over:CopyConfirmation"_s)
            << u"Copied 4 characters|shown|"_s;
    scenario("one character, the confirmation gone by itself",
             u"CopyConfirmationTimer=1; Text5=x; Command6; wait"
             u" => clipboard CopyConfirmation ?CopyConfirmation notice"_s)
            << u"x|Copied 1 character|hidden|nothing"_s;
    scenario("an empty box empties the clipboard, and says so",
             u"Command6 => clipboard CopyConfirmation"_s)
            << u"|Clipboard emptied"_s;
    scenario("copy keeps no-break spaces, makes every line break \\n",
             u"Text5=12/1/0/,\u00A0250.0\u2028x\ny; Command6 => clipboard"_s)
            << u"12/1/0/,\u00A0250.0\nx\ny"_s;
}

void TestForm1::generatedBuyingPrice_data()
{
    scenarioTable();
    // One key at a time at 50 %: "2" gives "1", "25" "12.5", "250" "125".
    scenario("after the first key", u"HScroll1=50; Text2_0; <2> => Text4_0"_s) << u"1"_s;
    scenario("after the third key", u"HScroll1=50; Text2_0; <2>; <5>; <0> => Text4_0"_s)
            << u"125"_s;
    scenario("moving the bar recomputes no row",
             u"Text2_0=250; Command1; HScroll1=50 => Text4_0 Text4_1"_s)
            << u"250|250"_s;
    scenario("a selling price that is no number leaves it",
             u"Text2_0=250; Text2_0=; Text2_0=25x => Text4_0"_s)
            << u"250"_s;
    // Written and read back in the user's locale, which is not the C locale here.
    scenario("with a comma for decimals, written and read by Generate",
             u"locale=de_DE; HScroll1=50; Text2_0=25; Command3 => Text4_0 Text5 messages"_s)
            << u"12,5|12/1/0/,12.0,true,;12/1/0/,25.0,false,|"_s;
    // The bar's percentage is in sight, to a screen reader its value, and its tooltip.
    scenario("the bar's percentage, down with Left",
             u"Command5; @HScroll1; <Left>; <PgDown> => percent"_s)
            << u"89 % read as 89, tip 89 %"_s;
    scenario("the bar's percentage, up with Right, as it is drawn",
             u"Command5; @HScroll1; <Home>; <Right>; <PgUp> => percent"_s)
            << u"11 % read as 11, tip 11 %"_s;
    scenario("a new row takes row 0's selling price", u"Text2_0=250; Command1 => Text2_1 Text4_1"_s)
            << u"250|250"_s;
    scenario("unticked, no row covers its typed price",
             u"Check1=0; Command1; Command1 => ?Text3_2 ?Text4_0 ?Text4_1 ?Text4_2"_s)
            << u"shown|hidden|hidden|hidden"_s;
    scenario("ticked again, a new row's follows its own selling price",
             u"Check1=0; Command1; Command1; Check1=1; HScroll1=50; Text2_2=25"
             u" => ?Text4_0 ?Text4_1 ?Text4_2 Text4_2"_s)
            << u"shown|shown|shown|12.5"_s;
}

void TestForm1::focusGoesWhereTheUserWorks_data()
{
    scenarioTable();
    // After the message the focus is where the fault is fixed, its text selected, and the box
    // that failed is marked.
    scenario("to a failed buying price, which loses its hint",
             u"Check1=0; Text2_0=250; Text5=an earlier code; Command3"
             u" => Text5 messages focus Text3_0 selection mark"_s)
            << u"|"_s + Error + u"|Text3_0|||Text3_0"_s;
    scenario("to the item list for a failed ID",
             u"Check1=0; Text1_0=ID; Text2_0=250; Text3_0=200; Command3 => focus mark notice"_s)
            << u"Combo1_0|Text1_0|Error: ID, row 1"_s;
    scenario("to the selling price for a failed generated price",
             u"Text2_0=40000; Command3 => focus selection mark notice"_s)
            << u"Text2_0|40000|Text4_0|Error: Generated buying price, row 1"_s;
    scenario("to a failed selling price",
             u"Check1=0; Check2=0; Text2_0=12x; Command3 => focus selection"_s)
            << u"Text2_0|12x"_s;
    scenario("to a failed box of a later row",
             u"Check1=0; Text2_0=250; Text3_0=200; Command1; Text2_1=40000; Command3"
             u" => focus selection"_s)
            << u"Text2_1|40000"_s;
    scenario("under the options panel, which closes",
             u"Check1=0; Check2=0; Text2_0=250; Command1; Command1; Command1; Text2_3=12x;"
             u" Command5; Command3 => panel focus selection"_s)
            << u"closed|Text2_3|12x"_s;
    scenario("beside the options panel, which stays",
             u"Check1=0; Check2=0; Text2_0=12x; Command5; Command3 => panel focus"_s)
            << u"shown|Text2_0"_s;
    scenario("to a failed hint, after the real box, which is plain",
             u"Check1=0; Text2_0=250; Command3 => box focus Text3_0 mark"_s)
            << Error + u"|Text3_0||Text3_0"_s;
    // The mark lasts until the box's text changes, the next "Generate" or the row's removal.
    scenario("the mark goes as the failed text is typed over",
             u"Check1=0; Check2=0; Text2_0=12x; Command3; <1> => Text2_0 mark notice"_s)
            << u"1|none|nothing"_s;
    scenario("the mark goes at the next Generate",
             u"Check1=0; Check2=0; Text2_0=12x; Command3; Check3=0; Command3 => mark notice"_s)
            << u"none|nothing"_s;
    scenario("the mark goes with its row",
             u"Check1=0; Check2=0; Text2_0=250; Command1; Text2_1=12x; Command3; Command2"
             u" => mark notice"_s)
            << u"none|nothing"_s;
    // Entered by a click or Tab a price box has its text selected: typing replaces it. A second
    // click places the caret.
    scenario("a click into a new row's copied price",
             u"Text2_0=250; Command1; Text2_1; <4>; <0>; Command3 => Text2_1 Text5"_s)
            << u"40|"_s + Code + u";12/1/0/,40.0,true,;12/1/0/,40.0,false,"_s;
    scenario("a click into a typed buying price",
             u"Check1=0; Text3_0=200; Text3_0; <3> => Text3_0"_s)
            << u"3"_s;
    scenario("Tab and Shift+Tab into typed prices",
             u"Check1=0; Text2_0=250; Text3_0=200; @Combo1_0; <Tab>; <Tab>; <4>; <Tab>; <3>;"
             u" <Backtab>; <5> => Text2_0 Text3_0"_s)
            << u"5|3"_s;
    scenario("a second click to edit one digit",
             u"Text2_0=2400; Text2_0; Text2_0; <Backspace>; <5> => Text2_0"_s)
            << u"2500"_s;
    scenario("and clears only a hint, by click or Tab, in added rows too",
             u"Check1=0; Command1; Text2_0; Text2_0=250; <Tab>; Text3_0=200; <Backtab>; <Tab>;"
             u" @Text2_1; <Tab> => focus Text2_0 Text3_0 Text2_1 Text3_1"_s)
            << u"Text3_1|250|200||"_s;
    scenario("into the options panel", u"Command5 => panel focus"_s) << u"shown|Check1"_s;
    scenario("back to Options from inside the panel",
             u"Command5; @HScroll1; <Esc> => panel focus"_s)
            << u"closed|Command5"_s;
    scenario("back to Options after X", u"Command5; Command4 => panel focus"_s)
            << u"closed|Command5"_s;
}

void TestForm1::keysClickTheirButtons_data()
{
    scenarioTable();
    const QString keys = u" => rows panel Text5 clipboard popup"_s;
    scenario("Ctrl+Return generates, keypad Enter too",
             u"Text2_0=250; @Text2_0; <Ctrl+Enter>"_s + keys)
            << u"0|closed|"_s + Code + u"|earlier|"_s;
    scenario("Ctrl+Shift+C copies, from the output box",
             u"Text2_0=250; <Ctrl+Return>; @Text5; <Ctrl+Shift+C>"_s + keys)
            << u"0|closed|"_s + Code + u'|' + Code + u'|';
    scenario("Ctrl++ and Ctrl+= add, Ctrl+- removes", u"<Ctrl++>; <Ctrl+=>; <Ctrl+->"_s + keys)
            << u"1|closed||earlier|"_s;
    scenario("rows are fixed while Ctrl+O shows the options",
             u"<Ctrl++>; <Ctrl+O>; <Ctrl++>; <Ctrl+->"_s + keys)
            << u"1|shown||earlier|"_s;
    scenario("Escape closes them, rows work again", u"<Ctrl+O>; @Check1; <Esc>; <Ctrl++>"_s + keys)
            << u"1|closed||earlier|"_s;
    // An item list's popup acts on Return and Escape before the window could see them.
    scenario("Escape in an item list's popup is the popup's",
             u"<Ctrl+O>; @Combo1_0; <Alt+Down>; <Esc>"_s + keys)
            << u"0|shown||earlier|"_s;
    scenario("Return in an item list's popup is the popup's",
             u"@Combo1_0; <Alt+Down>; <Ctrl+Return>"_s + keys)
            << u"0|closed||earlier|"_s;
    scenario("each button's tooltip and description name its key",
             u" => tip:Command1 tip:Command2 tip:Command3 tip:Command4 tip:Command5 tip:Command6"_s)
            << u"Add row (Ctrl++) / Ctrl++|Remove last row (Ctrl+-) / Ctrl+-|"
               u"Generate (Ctrl+Return) / Ctrl+Return|Close options (Esc) / Esc|"
               u"Options (Ctrl+O) / Ctrl+O|Copy to Clipboard (Ctrl+Shift+C) / Ctrl+Shift+C"_s;
    // Return and keypad Enter press the focused button, once.
    scenario("Return and Enter on +", u"@Command1; <Return>; <Num+Enter> => rows"_s) << u"2"_s;
    scenario("Return on -", u"Command1; @Command2; <Return> => rows"_s) << u"0"_s;
    scenario("Enter on Generate", u"Text2_0=250; @Command3; <Num+Enter> => Text5"_s) << Code;
    scenario("Return on Options, Enter on X",
             u"@Command5; <Return>; @Command4; <Num+Enter> => panel focus"_s)
            << u"closed|Command5"_s;
    scenario("Return on Copy to Clipboard", u"Text5=abc; @Command6; <Return> => clipboard"_s)
            << u"abc"_s;
}

// The catalogue here: x=12, y=7, z=21. Check1: use generated buying price, Check2: buying code,
// Check3: selling code.
void TestForm1::rowsFromCode_data()
{
    scenarioTable();
    const QString two = u"12/1/0/,200.0,true,;12/1/0/,250.0,false,;7/1/0/,35.0,true,;"
                        u"7/1/0/,40.0,false,"_s;
    const QString kept = u" => rows Text2_0 Check1 Check2 Check3 Text5 focus messages"_s;
    const QString before = u"Check2=0; Text2_0=250; Command1; Text5=earlier; @Text2_1; "_s;
    scenario(
            "the worked example, from the clipboard",
            u"Command1; Command1; clipboard="_s + two
                    + u"; <Ctrl+Shift+V> => rows Combo1_0 Text1_0 Text2_0 Text3_0 Combo1_1"
                      u" Text1_1 Text2_1 Text3_1 Check1 Check2 Check3 Text5 focus notice messages"_s)
            << u"1|x of 3|12|250|200|y of 3|7|40|35|0|1|1|"_s + two
                    + u"|Combo1_0|Rows from code: 2 rows from code|"_s;
    // The hint stands where the code has no price; the generated price follows its selling price.
    scenario("sell only, an id absent from the catalogue, blanks around",
             u"HScroll1=50; clipboard= \n99/1/0/,5.0,false,;21/1/0/,-8.0,false,\r\n;"
             u" <Ctrl+Shift+V> => rows Combo1_0 Text1_0 Text2_0 Text3_0 Text4_0 Text4_1 Combo1_1"
             u" Text1_1 Check1 Check2 Check3 Text5"_s)
            << u"1| of 3|99|5|Enter buyingprice here|2.5|-4|z of 3|21|1|0|1|"
               u"99/1/0/,5.0,false,;21/1/0/,-8.0,false,"_s;
    scenario("buy only, the ends of the range, from the box's own menu",
             u"Command1; Command1; Text5=-32768/1/0/,32767.0,true,;32767/1/0/,-32768.0,true,;"
             u" menu:Text5=Rows from this code"
             u" => rows Text1_0 Text3_0 Text1_1 Text3_1 Text2_1 Check1 Check2 Check3 menu:Text5"_s)
            << u"1|-32768|32767|32767|-32768|Enter sellingprice here|0|1|0|"
               u"Undo, Redo, Cut, Copy, Paste, Delete, Select All, Rows from this code"_s;
    // A name's id is what choosing it gives, as the catalogue writes it: the first "a" for both.
    scenario("two names with one id, one name with two",
             u"id.txt=[ID]\na=5\nb=5\nc=6\nC=7\nd= \"012\" \n; clipboard=5/1/0/,1.0,false,;"
             u"7/1/0/,2.0,false,;6/1/0/,3.0,false,;12/1/0/,4.0,false,; <Ctrl+Shift+V>"
             u" => Combo1_0 Combo1_1 Text1_1 Combo1_2 Combo1_3 Text1_3"_s)
            << u"a of 5| of 5|7|c of 5|d of 5|012"_s;
    scenario("the panel shown", u"Command5; clipboard="_s + two + u"; <Ctrl+Shift+V>"_s + kept)
            << u"0|Enter sellingprice here|1|1|1||Check1|"_s;
    // Typed prices are lost only once the user agrees.
    scenario("typed prices kept at No",
             before + u"clipboard="_s + two + u"; answer=no; <Ctrl+Shift+V>"_s + kept)
            << u"1|250|1|0|1|earlier|Text2_1|Rows from code: Replace the 2 rows you have with "
               u"the 2 rows of this code?"_s;
    scenario("typed prices replaced at Yes",
             before + u"clipboard=7/1/0/,1.0,false,; <Ctrl+Shift+V>"_s + kept)
            << u"0|1|1|0|1|7/1/0/,1.0,false,|Combo1_0|Rows from code: Replace the 2 rows you "
               u"have with the 1 row of this code?"_s;
    // After the message everything is as it was.
    for (const auto &[name, code, message] :
         {std::tuple{"empty", u" \n"_s, u"The code is empty"_s},
          {"not a trade entry", two + u";x"_s, u"Entry 5 is not a trade entry: \"x\""_s},
          {"15 rows", u"1/1/0/,1.0,false,;"_s.repeated(15).chopped(1),
           u"15 rows; at most 14 fit"_s},
          {"a row without the sell entry", two + u";7/1/0/,35.0,true,"_s,
           u"Row 3 (entry 5) lacks the sell entry that row 1 has"_s}})
        scenario(name, before + u"clipboard="_s + code + u"; <Ctrl+Shift+V>"_s + kept)
                << u"1|250|1|0|1|earlier|Text2_1|Error: "_s + message;
}

// Whatever code is read, "Generate" gives it back byte for byte, wherever the ids stand in the
// catalogue, and whatever rows and options the window had.
void TestForm1::rowsFromCodeGenerateTheCode_data()
{
    scenarioTable();
    QStringList both;
    QStringList sells;
    const QList<int> ids{12, 7, 12, 999, -1, 102, 21, 33, 7, 45, 0, 32767, -32768, 62};
    for (int k = 0; k < ids.size(); ++k) {
        const QString id = QString::number(ids.at(k)) + u"/1/0/,"_s;
        both << id + QString::number(k * 3 - 20) + u".0,true,"_s
                        + (u';' + id + QString::number(k * 7) + u".0,false,"_s);
        sells << id + QString::number(-k) + u".0,false,"_s;
    }
    const QList<std::pair<const char *, QString>> codes{
            {"both, 14 rows", both.join(u';')},
            {"sell only, 14 rows", sells.join(u';')},
            {"buy only, 1 row", u"102/1/0/,-5.0,true,"_s},
            {"both, 1 row", both.at(3)}};
    const QList<std::pair<const char *, QString>> catalogues{
            {"sample", u"sample id.txt"_s},
            {"no names", u"id.txt=[Other]\nWood=12\n"_s},
            {"duplicates", u"id.txt=[ID]\nWood=12\nwood=7\nLog=12\nx= 0021\nx=33\nq=\"-1\"\n"_s}};
    for (const auto &[catalogue, open] : catalogues) {
        for (const auto &[kind, code] : codes) {
            QTest::addRow("%s, %s", kind, catalogue)
                    << open + u"; Check1=1; Check3=0; HScroll1=40; Command1; Text2_1=5; clipboard="_s
                            + code + u"; <Ctrl+Shift+V>; Text5=; Command3 => Text5 messages"_s
                    << code
                            + u"|Rows from code: Replace the 2 rows you have with the %1 of this "
                              u"code?"_s.arg(code.count(u';') >= 13 ? u"14 rows"_s : u"1 row"_s);
        }
    }
}

void TestForm1::rowsAddAndRemoveAtTheEnd_data()
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

void TestForm1::rowsAddAndRemoveAtTheEnd()
{
    QFETCH(QString, clicks);
    QFETCH(int, last);
    QString steps;
    for (QChar c : clicks) // the buttons Command1, 2, 4 and 5
        steps += u"Command%1; "_s.arg(u"+-.xo"_s.indexOf(c) + 1);
    if (!play(steps))
        return;
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
    QCOMPARE(get(u"Combo1_"_s + QString::number(last + 1)), nullptr);
    QCOMPARE(probe(u"Text1"_s + k), u"12"_s);
    // The generated price lies over the typed one; the bottom area, "Options" foremost, over all.
    const QStringList frontToBack = QStringList({u"Command5"_s, u"Command3"_s, u"Text5"_s,
                                                 u"Picture2"_s, u"Text4"_s + k, u"Text3"_s + k})
                                            .mid(last > 0 ? 0 : 4);
    QStringList stacked = frontToBack;
    std::ranges::sort(stacked, std::greater(), [this](const QString &name) {
        return m_form->children().indexOf(get(name));
    });
    QCOMPARE(stacked, frontToBack);
}

void TestForm1::screenReaderNamesEveryControl()
{
    if (!play(u"Command1; Command5"_s))
        return;
    const auto read = [](QObject *o) { return QAccessible::queryAccessibleInterface(o); };
    const auto name = [&](const QString &n) { return read(get(n))->text(QAccessible::Name); };
    QCOMPARE(QStringList({name(u"Combo1_0"_s), name(u"Text2_1"_s), name(u"Text4_1"_s),
                          name(u"Picture1"_s)}),
             QStringList({u"Item, row 1"_s, u"Selling price, row 2"_s,
                          u"Generated buying price, row 2"_s, u"Options"_s}));
    const QList<QWidget *> controls = m_form->findChildren<QWidget *>(Control);
    QCOMPARE(controls.size(), 23 + 5);
    for (const QWidget *w : controls)
        QVERIFY2(!name(w->objectName()).isEmpty(), qPrintable(w->objectName()));
}

// The style caches what it draws under the palette's identity: rows that come and go must share
// one palette per column, in row 0's colours, or every new row adds drawings nobody asks for again.
void TestForm1::rowsLeaveNoDrawingsBehind()
{
    QList<qint64> keys;
    for (int cycle = 0; cycle < 3; ++cycle) {
        if (!play(u"Command1"_s))
            return;
        for (const QString &column : {u"Combo1"_s, u"Text2"_s}) {
            const QPalette palette = get(column + u"_1"_s)->palette();
            QCOMPARE(palette, get(column + u"_0"_s)->palette());
            keys << palette.cacheKey();
        }
        if (!play(u"Command2"_s))
            return;
    }
    QCOMPARE(keys.mid(2), keys.mid(0, 2) + keys.mid(0, 2));
}

void TestForm1::tabVisitsWhatCanBeWorked_data()
{
    QTest::addColumn<QString>("steps"); // as play() takes them, ending where the walk starts
    QTest::addColumn<QString>("chain"); // Tab from where the focus is until it comes round
    const auto rows = [](int count, const QString &price) {
        QStringList names;
        for (int k = 0; k < count; ++k) {
            for (const QString &column : {u"Combo1"_s, u"Text1"_s, u"Text2"_s, price})
                names << column + u'_' + QString::number(k);
        }
        return names.join(u' ') + u" Command1 Command2 Command3 Text5 Command5 Command6"_s;
    };
    const QString thirteen = u"Command1; "_s.repeated(13);
    const QString panel = u"Check1 Check2 Check3 HScroll1 Command4"_s;
    QTest::newRow("1 row, typed price covered") << u"@Combo1_0"_s << rows(1, u"Text4"_s);
    QTest::newRow("1 row, typed price shown") << u"Check1=0; @Combo1_0"_s << rows(1, u"Text3"_s);
    QTest::newRow("14 rows made covered") << thirteen + u"@Combo1_0"_s << rows(14, u"Text4"_s);
    QTest::newRow("14 rows made shown, covered again")
            << u"Check1=0; "_s + thirteen + u"Check1=1; @Combo1_0"_s << rows(14, u"Text4"_s);
    QTest::newRow("14 rows made covered, shown")
            << thirteen + u"Check1=0; @Combo1_0"_s << rows(14, u"Text3"_s);
    // "Options" takes the focus into the panel.
    QTest::newRow("panel over 14 rows") << thirteen + u"Command5"_s << panel;
    QTest::newRow("panel, typed price shown") << u"Check1=0; Command5"_s << panel;
}

void TestForm1::tabVisitsWhatCanBeWorked()
{
    QFETCH(QString, steps);
    QFETCH(QString, chain);
    if (!play(steps))
        return;
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

void TestForm1::ringsStandOut_data()
{
    QTest::addColumn<QString>("control"); // the control ringed
    QTest::addColumn<QString>("shown");   // steps that ring it
    QTest::addColumn<QString>("gone");    // steps that take the ring away
    QTest::addColumn<int>("out");         // pixels from the control's edge to the ring's outside
    for (const QString &control :
         {u"Combo1_1"_s, u"Text1_1"_s, u"Text2_1"_s, u"Text4_1"_s, u"Command1"_s, u"Command3"_s,
          u"Text5"_s, u"Command5"_s, u"Command6"_s, u"Check1"_s, u"HScroll1"_s, u"Command4"_s}) {
        const bool inPanel = control.startsWith(u"Check") || control.startsWith(u"HScroll")
                || control == u"Command4";
        QTest::addRow("focus on %s", qPrintable(control))
                << control << (inPanel ? u"Command1; Command5; @"_s : u"Command1; @"_s) + control
                << u"@Text2_0"_s << 2;
    }
    // The fault mark lies just outside the focus ring, with the focus on its box or elsewhere.
    for (const auto &[box, failing] :
         {std::pair{u"Text1_1"_s, u"Check2=0; Text2_0=1; Command1; Text1_1=x"_s},
          {u"Text2_1"_s, u"Check2=0; Text2_0=1; Command1; Text2_1=x"_s},
          {u"Text4_1"_s, u"Command1; Text2_0=1"_s}})
        QTest::addRow("fault in %s", qPrintable(box))
                << box << failing + u"; Command3"_s << u"Check2=0; Check3=0; Command3"_s << 4;
}

// Every point of the ring differs from what the same point shows without it (there: the ground
// it lies on) by 3:1 at least.
void TestForm1::ringsStandOut()
{
    QFETCH(QString, control);
    QFETCH(QString, shown);
    QFETCH(QString, gone);
    QFETCH(int, out);
    if (!play(shown))
        return;
    const QWidget *target = get(control);
    const QRect r(target->mapTo(m_form.get(), QPoint(0, 0)), target->size());
    QList<QPoint> ring;
    for (const int d : {out - 1, out}) {
        ring += {{r.left() - d, r.center().y()},
                 {r.right() + d, r.center().y()},
                 {r.center().x(), r.top() - d},
                 {r.center().x(), r.bottom() + d}};
    }
    const QImage with = m_form->grab().toImage();
    if (!play(gone))
        return;
    const QImage without = m_form->grab().toImage();
    for (const QPoint &p : ring) {
        const double ratio = FaultMark::contrast(with.pixel(p), without.pixel(p));
        QVERIFY2(ratio >= 3.0,
                 qPrintable(
                         u"%1 at %2,%3: %4 against %5, %6:1"_s.arg(control)
                                 .arg(p.x())
                                 .arg(p.y())
                                 .arg(QColor(with.pixel(p)).name(), QColor(without.pixel(p)).name())
                                 .arg(ratio)));
    }
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
