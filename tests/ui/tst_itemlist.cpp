// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "itemlist.h"
#include "itemlistaccessible.h"
#include "itemlistmodel.h"
#include "itemlistpopup.h"

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
    void closedListKeys_data();
    void closedListKeys();
    void mouse();
    void rowsShareButReadAnew();
    void screenReaderView();

private:
    void open() const { m_list->showPopup(); }
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
    m_list = new ItemList(m_window.get());
    m_list->setGeometry(10, 10, 200, 21);
    m_list->addItems(withFillers());
    m_list->setCurrentIndex(1); // Stone
    m_activated = std::make_unique<QSignalSpy>(m_list, &QComboBox::activated);
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
    QTest::newRow("narrowed, then widened again")
            << u"ore\b\b"_s
            << QStringList{u"Wood"_s, u"Stone"_s, u"Iron ore"_s, u"Coal"_s, u"ÿ-hook"_s,
                           u"Oak"_s,  u"Wool"_s,  u"Bone"_s,     u"Cork"_s}
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
    const auto names = [&](int row) { return list(row)->entries()->names(); };
    QCOMPARE(names(1).join(u'|') + u' ' + names(2).join(u'|'), u"x|y x|w"_s);
    QCOMPARE(names(1).constData(), names(0).constData());
    QCOMPARE_NE(names(2).constData(), names(1).constData());
    list(1)->QComboBox::addItem(u"v"_s); // the toolkit's own way in works too
    QCOMPARE(names(0).join(u'|') + u' ' + names(1).join(u'|'), u"x|y x|y|v"_s);
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
    QCOMPARE(open->childCount(), 2);
    QAccessibleInterface *entries = open->child(1);
    QCOMPARE(entries->parent(), open);
    QCOMPARE(open->indexOfChild(entries), 1);
    QCOMPARE(entries->childCount(), 30);
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
