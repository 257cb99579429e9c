// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "itemlist.h"
#include "itemlistaccessible.h"
#include "itemlistmodel.h"
#include "itemlistpopup.h"
#include "itemlisttext.h"
#include "resultnotice.h"

#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace Qt::StringLiterals;

class TestItemList : public QObject
{
    Q_OBJECT

private slots:
    // As the window does, before any list exists: a list keeps the interface first made for it.
    void initTestCase() { installItemListAccessibility(); }
    void init();
    void openList_data();
    void openList();
    void findOrder_data();
    void findOrder();
    void closedListKeys_data();
    void closedListKeys();
    void wheel_data();
    void wheel();
    void mouse();
    void longNames_data();
    void longNames();
    void emptyList_data();
    void emptyList();
    void rowsShareButReadAnew();
    void screenReaderView();

private:
    // A list of its own in m_list's place, that entry chosen, with the focus.
    void replaceList(const QStringList &names, int chosen)
    {
        delete m_list;
        m_list = new ItemList(m_window.get());
        m_list->setGeometry(10, 10, 200, 21);
        // In two insertions: a list that holds names already appends the next ones after them.
        const qsizetype half = names.size() / 2;
        m_list->addItems(names.first(half));
        m_list->addItems(names.sliced(half));
        m_list->setCurrentIndex(chosen);
        m_activated = std::make_unique<QSignalSpy>(m_list, &QComboBox::activated);
        m_list->show();
        m_list->setFocus();
    }
    void open() const { m_list->showPopup(); }
    // The tooltip that a pause of the pointer over that point of the widget brings up, if any.
    static QString tooltipAt(QWidget *widget, QPoint at)
    {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return u"(the tooltip before stayed)"_s;
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    // Types into whatever has the keyboard: printable characters as such, \b as Backspace.
    static void type(const QString &keys)
    {
        for (QChar c : keys) {
            QWidget *target = QApplication::focusWidget();
            if (c == u'\b')
                QTest::keyClick(target, Qt::Key_Backspace);
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    QStringList shown() const
    {
        const QAbstractItemModel *model = m_list->openList()->entries()->model();
        QStringList names;
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }
    QString highlighted() const
    {
        return m_list->openList()->entries()->currentIndex().data().toString();
    }

    std::unique_ptr<QWidget> m_window;
    ItemList *m_list = nullptr;
    std::unique_ptr<QSignalSpy> m_activated;
};

namespace {

const QStringList names{u"Wood"_s,  u"Stone"_s,  u"Iron ore"_s, u"Coal"_s, u"Épée"_s, u"šachy"_s,
                        u"Œuvre"_s, u"ÿ-hook"_s, u"Oak"_s,      u"Wool"_s, u"Bone"_s, u"Cork"_s};

QStringList withFillers()
{
    QStringList all = names;
    for (auto i = all.size(); i < 30; ++i)
        all << u"Reed %1"_s.arg(i);
    return all;
}

} // namespace

void TestItemList::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 300);
    m_list = nullptr;
    replaceList(withFillers(), 1); // Stone
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_list->setFocus();
}

void TestItemList::openList_data()
{
    // Typed text (\b: Backspace), what the list then shows, then keys: D/U Down/Up, H/E
    // Home/End, P/p Page Down/Up, R Return, X Escape.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("activations");
    const QStringList all{QString()}; // every entry
    const QStringList oo{u"Wood"_s, u"ÿ-hook"_s, u"Wool"_s};
    QTest::newRow("part of a name, in list order") << u"oo"_s << oo << QString() << u"Stone"_s << 0;
    QTest::newRow("Down through the matches, to the last")
            << u"oo"_s << oo << u"DDDR"_s << u"Wool"_s << 1;
    // ASCII case, and the Windows-1252 letters whose two cases lie apart.
    for (const auto &[typed, name] : {std::pair{u"OAK"_s, u"Oak"_s},
                                      {u"ÉPÉE"_s, u"Épée"_s},
                                      {u"ŠACH"_s, u"šachy"_s},
                                      {u"œUV"_s, u"Œuvre"_s},
                                      {u"Ÿ-H"_s, u"ÿ-hook"_s}})
        QTest::addRow("%s finds %s", qPrintable(typed), qPrintable(name))
                << typed << QStringList{name} << QString() << u"Stone"_s << 0;
    QTest::newRow("no match: Return picks nothing")
            << u"xyz"_s << QStringList() << u"R"_s << u"Stone"_s << 0;
    QTest::newRow("narrowed to nothing, then widened again")
            << u"orez\b\b\b"_s
            << QStringList{u"Œuvre"_s, u"Oak"_s,    u"Wood"_s, u"Stone"_s, u"Iron ore"_s,
                           u"Coal"_s,  u"ÿ-hook"_s, u"Wool"_s, u"Bone"_s,  u"Cork"_s}
            << QString() << u"Stone"_s << 0;
    QTest::newRow("emptied: every entry") << u"ir\b\b"_s << all << QString() << u"Stone"_s << 0;
    QTest::newRow("Return picks the first match")
            << u"iron"_s << QStringList{u"Iron ore"_s} << u"R"_s << u"Iron ore"_s << 1;
    QTest::newRow("Escape keeps the earlier choice")
            << u"iron"_s << QStringList{u"Iron ore"_s} << u"X"_s << u"Stone"_s << 0;
    QTest::newRow("Up from the chosen entry") << QString() << all << u"UR"_s << u"Wood"_s << 1;
    QTest::newRow("End") << QString() << all << u"ER"_s << u"Reed 29"_s << 1;
    QTest::newRow("End, then Home") << QString() << all << u"EHR"_s << u"Wood"_s << 1;
    QTest::newRow("two pages down, one up") << QString() << all << u"PPpR"_s << u"Bone"_s << 1;
    QTest::newRow("Return on the chosen entry is a choice")
            << QString() << all << u"R"_s << u"Stone"_s << 1;
}

void TestItemList::openList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QFETCH(QString, keys);
    QFETCH(QString, chosen);
    QFETCH(int, activations);
    open();
    type(text);
    const bool every = found == QStringList(QString());
    QCOMPARE(shown(), every ? withFillers() : found);
    QCOMPARE(highlighted(), every ? u"Stone"_s : found.value(0)); // the chosen entry, or the first
    // An empty result says so, to a screen reader too.
    const ResultNotice *noMatch = m_list->openList()->noMatchNotice();
    QCOMPARE(noMatch->isShown() ? noMatch->text() : QString(),
             found.isEmpty() ? u"No item matches"_s : QString());
    const QHash<QChar, Qt::Key> key{{u'D', Qt::Key_Down},     {u'U', Qt::Key_Up},
                                    {u'H', Qt::Key_Home},     {u'E', Qt::Key_End},
                                    {u'P', Qt::Key_PageDown}, {u'p', Qt::Key_PageUp},
                                    {u'R', Qt::Key_Return},   {u'X', Qt::Key_Escape}};
    for (QChar k : keys)
        QTest::keyClick(QApplication::focusWidget(), key.value(k));
    QCOMPARE(m_list->currentText(), chosen);
    QCOMPARE(m_activated->size(), activations);
    QCOMPARE(m_list->isOpen(), activations == 0 && keys != u"X");
    if (activations > 0)
        QCOMPARE(m_activated->first().first().toInt(), m_list->currentIndex());
}

void TestItemList::findOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("the name, then names starting so, then the rest, each in file order")
            << u"fire"_s
            << QStringList{u"Fire"_s, u"Firewood"_s, u"Fire sword"_s, u"Sword of Fire"_s,
                           u"Campfire"_s};
    QTest::newRow("blanks around and between words count once")
            << u"  FIRE   "_s
            << QStringList{u"Fire"_s, u"Firewood"_s, u"Fire sword"_s, u"Sword of Fire"_s,
                           u"Campfire"_s};
    QTest::newRow("words in any order; in the typed order first")
            << u"fire sword"_s << QStringList{u"Fire sword"_s, u"Sword of Fire"_s};
    QTest::newRow("several words starting a name")
            << u"sword of"_s << QStringList{u"Sword of Fire"_s};
    QTest::newRow("accents left out")
            << u"legendaire facade"_s << QStringList{u"Légendaire Façade"_s};
    QTest::newRow("accents typed where a name has none")
            << u"ÉPÉE"_s << QStringList{u"EPEE"_s, u"Épée"_s};
    QTest::newRow("ß typed as ss, either way")
            << u"grosses"_s << QStringList{u"Großes Schwert"_s, u"Grosses Fass"_s};
    QTest::newRow("letters written apart, within a name")
            << u"oe rod"_s << QStringList{u"Œuvre of Smørrebrød"_s};
    QTest::newRow("folded alike: both exact, in file order")
            << u"epee"_s << QStringList{u"EPEE"_s, u"Épée"_s};
    QTest::newRow("the name's own blanks count once too")
            << u"fish and chips"_s << QStringList{u"Fish  and\tchips"_s};
    QTest::newRow("a blank alone: every entry") << u" "_s << QStringList{QString()};
}

// What the find field shows, and in which order, on a list of its own.
void TestItemList::findOrder()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    const QStringList all{u"Sword of Fire"_s,
                          u"Fire"_s,
                          u"Firewood"_s,
                          u"Fire sword"_s,
                          u"Campfire"_s,
                          u"Légendaire Façade"_s,
                          u"Großes Schwert"_s,
                          u"Grosses Fass"_s,
                          u"EPEE"_s,
                          u"Épée"_s,
                          u"Œuvre of Smørrebrød"_s,
                          u"Fish  and\tchips"_s};
    replaceList(all, 0);
    open();
    type(text);
    QCOMPARE(shown(), found == QStringList(QString()) ? all : found);
}

void TestItemList::closedListKeys_data()
{
    QTest::addColumn<QList<int>>("keys"); // Qt::Key values; a letter key types its letter
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("activations");
    QTest::newRow("Down") << QList<int>{Qt::Key_Down} << u"Iron ore"_s << 1;
    QTest::newRow("Up, Up at the top") << QList<int>{Qt::Key_Up, Qt::Key_Up} << u"Wood"_s << 1;
    QTest::newRow("first letters") << QList<int>{Qt::Key_C, Qt::Key_O, Qt::Key_R} << u"Cork"_s << 2;
    QTest::newRow("one letter again and again")
            << QList<int>{Qt::Key_W, Qt::Key_W} << u"Wool"_s << 1;
    QTest::newRow("no name starts so") << QList<int>{Qt::Key_Q} << u"Stone"_s << 0;
}

// Closed, the list keeps the keys of a plain drop-down, and offers no text of its own.
void TestItemList::closedListKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, chosen);
    QFETCH(int, activations);
    QComboBox plain(m_window.get());
    plain.addItems(withFillers());
    plain.setCurrentIndex(1);
    QSignalSpy plainActivated(&plain, &QComboBox::activated);
    for (int k : keys) {
        QTest::keyClick(m_list, Qt::Key(k));
        QTest::keyClick(&plain, Qt::Key(k));
    }
    QCOMPARE(plain.currentText() + u' ' + QString::number(plainActivated.size()),
             chosen + u' ' + QString::number(activations));
    QCOMPARE(m_list->currentText() + u' ' + QString::number(m_activated->size()),
             chosen + u' ' + QString::number(activations));
    QVERIFY(!m_list->isOpen());
    QVERIFY(!m_list->isEditable());
    QCOMPARE(m_list->lineEdit(), nullptr);
}

void TestItemList::wheel_data()
{
    QTest::addColumn<bool>("focused");
    QTest::newRow("over the list with the focus: as a plain drop-down") << true;
    QTest::newRow("over the list while the focus is elsewhere: nothing") << false;
}

// Three notches down, as the system delivers them: the toolkit gives a plain drop-down the focus
// on the first and then chooses; the item list chooses only where it has the focus already.
void TestItemList::wheel()
{
    QFETCH(bool, focused);
    QComboBox plain(m_window.get());
    plain.addItems(withFillers());
    plain.setCurrentIndex(1);
    auto *elsewhere = new QLineEdit(m_window.get());
    elsewhere->show();
    const auto turn = [](QWidget *widget) {
        for (int notch = 0; notch < 3; ++notch) {
            QWheelEvent event(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(widget, &event);
        }
    };
    (focused ? static_cast<QWidget *>(m_list) : elsewhere)->setFocus();
    turn(m_list);
    QCOMPARE(m_list->hasFocus(), focused);
    QCOMPARE(m_list->currentText(), focused ? u"Épée"_s : u"Stone"_s);
    QCOMPARE(m_activated->size(), focused ? 3 : 0);
    elsewhere->setFocus();
    turn(&plain);
    QCOMPARE(plain.currentText(), u"Épée"_s);
}

void TestItemList::mouse()
{
    open();
    QListView *entries = m_list->openList()->entries();
    QVERIFY(QTest::qWaitForWindowExposed(m_list->openList()));
    QCOMPARE(m_list->openList()->geometry().topLeft(), m_list->mapToGlobal(QPoint(0, 21)));
    QCOMPARE_GE(m_list->openList()->width(), m_list->width());
    // A click on an entry picks it; a click elsewhere closes the list and keeps the choice.
    QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                      entries->visualRect(entries->model()->index(3, 0)).center());
    QCOMPARE(m_list->currentText() + u' ' + QString::number(m_activated->size()), u"Coal 1"_s);
    QVERIFY(!m_list->isOpen());
    open();
    QTest::mouseClick(m_list->openList(), Qt::LeftButton, {}, QPoint(-50, -50));
    QCOMPARE(m_list->currentText() + u' ' + QString::number(m_activated->size()), u"Coal 1"_s);
    QVERIFY(!m_list->isOpen());
}

void TestItemList::longNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cut"); // in the open list, as wide as it may be
    QTest::newRow("short") << u"Short"_s << false;
    QTest::newRow("wider than the closed list") << QString(60, u'm') << false;
    QTest::newRow("wider than the screen") << QString(300, u'W') << true;
    QTest::newRow("5 MiB") << QString(5 << 20, u'W') << true;
}

// The open list is as wide as its names need, up to the screen's; a name still cut short, and
// only such a name, shows as a tooltip; and however long the name, only its start is laid out,
// shown or measured, while the list's text is the name whole.
void TestItemList::longNames()
{
    QFETCH(QString, name);
    QFETCH(bool, cut);
    replaceList({u"Wood"_s, name}, 1);
    QCOMPARE(m_list->currentText().size(), name.size());
    const QString shown
            = name.size() > ShownNameLength ? name.first(ShownNameLength - 1) + u'…' : name;
    const bool closedCut = m_list->fontMetrics().horizontalAdvance(shown) > m_list->width() - 30;
    QCOMPARE(tooltipAt(m_list, QPoint(5, 5)), closedCut ? shown : QString());

    open();
    QListView *entries = m_list->openList()->entries();
    QVERIFY(QTest::qWaitForWindowExposed(m_list->openList()));
    const QModelIndex entry = entries->model()->index(1, 0);
    QCOMPARE(entry.data().toString(), shown);
    const int screen = m_list->screen()->availableGeometry().width();
    QCOMPARE(m_list->openList()->width() >= screen, cut);
    QVERIFY(m_list->openList()->width() <= screen);
    QCOMPARE(tooltipAt(entries->viewport(), entries->visualRect(entry).center()),
             cut ? shown : QString());
}

void TestItemList::emptyList_data()
{
    QTest::addColumn<QByteArray>("catalogue"); // "-": none; "/": a folder in its place
    QTest::addColumn<QString>("text");
    QTest::newRow("no id.txt") << QByteArray("-") << u"No items: no id.txt in %1"_s;
    QTest::newRow("no names under [ID]")
            << QByteArray("[Other]\nx=1\n") << u"No items under [ID] in id.txt in %1"_s;
    QTest::newRow("a folder named id.txt")
            << QByteArray("/") << u"No items: id.txt in %1 cannot be read"_s;
}

// An empty list says where the program looked, greyed and to a screen reader, with no text of its
// own for "Generate".
void TestItemList::emptyList()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"id.txt"_s);
    if (catalogue == "/") {
        QVERIFY(QDir(dir.path()).mkdir(u"id.txt"_s));
    } else if (catalogue != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(catalogue) == catalogue.size());
    }
    const QString said = emptyItemListText(path);
    QCOMPARE(said, text.arg(QDir::toNativeSeparators(dir.path())));
    ItemList list(m_window.get());
    list.setPlaceholderText(said);
    QCOMPARE(list.currentText(), QString());
    QCOMPARE(QAccessible::queryAccessibleInterface(&list)->text(QAccessible::Description), said);
    QCOMPARE(QAccessible::queryAccessibleInterface(m_list)->text(QAccessible::Description),
             QString());
}

// Rows with the same names keep one copy of them, while every "+" still reads id.txt anew, and
// a row that changes its entries changes no other row's.
void TestItemList::rowsShareButReadAnew()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"id.txt"_s);
    const auto write = [&](const QByteArray &text) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        QCOMPARE(file.write(text), text.size());
    };
    write("[ID]\nx=1\ny=2\n");
    Form1 window(path, QLocale::c());
    auto *plus = window.findChild<QPushButton *>(u"Command1"_s);
    plus->click();
    write("[ID]\nx=1\nw=2\n"); // as many names, one of them new
    plus->click();
    const auto list = [&](int row) {
        return window.findChild<ItemList *>(u"Combo1_"_s + QString::number(row));
    };
    const auto names = [&](int row) {
        QStringList texts;
        for (int entry = 0; entry < list(row)->count(); ++entry)
            texts << list(row)->entries()->name(entry).toString();
        return texts.join(u'|');
    };
    const auto shared
            = [&](int a, int b) { return list(a)->entries()->sharesNames(*list(b)->entries()); };
    QCOMPARE(names(0) + u' ' + names(1) + u' ' + names(2), u"x|y x|y x|w"_s);
    QVERIFY(shared(1, 0));
    QVERIFY(!shared(2, 1));
    // The toolkit's own way in works too, in the middle of the list as at its end.
    list(1)->QComboBox::addItem(u"v"_s);
    list(1)->QComboBox::insertItem(1, u"long name"_s);
    QCOMPARE(names(0) + u' ' + names(1), u"x|y x|long name|y|v"_s);
}

// What a screen reader reads of an item list, closed and open.
// What a screen reader reads of the list is checked on the real stack (./build.sh a11y); here,
// what a walk of the tree relies on: parents that lead back, and Press closing what ShowMenu
// opened, the entries narrowed meanwhile.
void TestItemList::screenReaderView()
{
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_list);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::ComboBox);
    QCOMPARE(list->childCount(), 1);
    QAccessibleInterface *open = list->child(0);
    QCOMPARE(open->parent(), list);
    QCOMPARE(list->indexOfChild(open), 0);
    QCOMPARE(open->childCount(), 3);
    QAccessibleInterface *entries = open->child(1);
    QCOMPARE(entries->parent(), open);
    QCOMPARE(open->indexOfChild(entries), 1);
    QCOMPARE(entries->childCount(), 30);
    QAccessibleInterface *noMatch = open->child(2);
    QCOMPARE(noMatch->role(), QAccessible::Notification);
    QCOMPARE(noMatch->parent(), open);
    QCOMPARE(open->indexOfChild(noMatch), 2);
    list->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QVERIFY(m_list->isOpen());
    QVERIFY(list->state().expanded);
    type(u"oo"_s);
    QCOMPARE(entries->childCount(), 3);
    list->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!m_list->isOpen());
    QVERIFY(!list->state().expanded);
}

QTEST_MAIN(TestItemList)
#include "tst_itemlist.moc"
