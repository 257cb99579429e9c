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
    click(u"Command1"_s); // row 1 starts with row 0's hints
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
    QCOMPARE(reached.join(u' '),
             u"Combo1_0 Text1_0 Text2_0 Text3_0 Text4_0 Combo1_1 Text1_1 Text2_1 Text3_1 Text4_1 "
             "Check1 Check2 Check3 HScroll1 Command1 Command2 Command3 Text5 Command4 Command5 "
             "Command6"_s);

    auto *percent = get<QScrollBar>(u"HScroll1"_s);
    QTest::keyClick(percent, Qt::Key_Home);
    QTest::keyClick(percent, Qt::Key_Right); // right is more, as the bar is drawn
    QTest::keyClick(percent, Qt::Key_PageUp);
    QCOMPARE(QAccessible::queryAccessibleInterface(percent)->valueInterface()->currentValue(),
             QVariant(11));
    QCOMPARE(percent->toolTip(), u"11 %"_s);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
