#include "form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    void priceHint_data();
    void priceHint();
    void editedCatalogueSeenByNextChoice();
    void unusableCatalogue_data();
    void unusableCatalogue();
    void accessibility();

private:
    void open(bool seam = true);
    void writeCatalogue(const QByteArray &text);
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

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
};

void TestForm1::init()
{
    m_form.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_messages.clear();
    writeCatalogue("[ID]\nx=12\ny=7\nz=21\n");
}

void TestForm1::writeCatalogue(const QByteArray &text)
{
    QFile file(m_dir->filePath(u"id.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

void TestForm1::open(bool seam)
{
    m_form = std::make_unique<Form1>(m_dir->filePath(u"id.txt"_s),
                                     QLocale(QLocale::English, QLocale::UnitedStates));
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
    QCOMPARE(m_form->windowTitle(), u"Quennel"_s);
    QCOMPARE(m_form->size(), QSize(815, 703));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QVERIFY(!m_form->windowIcon().isNull());
    auto *list = get<QComboBox>(u"Combo1_0"_s);
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(list->count(), 3); // x, y, z and no empty entry after them
    QCOMPARE(list->currentText(), u"x"_s);
    QCOMPARE(text(u"Text1_0"_s), u"12"_s);
    QCOMPARE(text(u"Text2_0"_s), u"Enter sellingprice here"_s);
    QCOMPARE(text(u"Text4_0"_s), u"Price will be generated"_s);
    // The generated price box lies exactly over the typed one, in front of it.
    QCOMPARE(get(u"Text4_0"_s)->geometry(), get(u"Text3_0"_s)->geometry());
    const QObjectList &stack = m_form->children();
    QVERIFY(stack.indexOf(get(u"Text4_0"_s)) > stack.indexOf(get(u"Text3_0"_s)));
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
    QTest::newRow("blocked while options shown") << u"+o+-+"_s << 1;
    QTest::newRow("usable again after X") << u"+o+-x+"_s << 2;
}

void TestForm1::rows()
{
    QFETCH(QString, clicks);
    QFETCH(int, last);
    open();
    const QHash<QChar, QString> buttons{{u'+', u"Command1"_s},
                                        {u'-', u"Command2"_s},
                                        {u'o', u"Command5"_s},
                                        {u'x', u"Command4"_s}};
    for (QChar c : clicks)
        click(buttons.value(c));
    QCOMPARE(m_form->zeilenanzahl, last);
    const int top = 64 + 35 * last;
    QCOMPARE(get(u"Command1"_s)->geometry(), QRect(40, top + 32, 25, 25));
    QCOMPARE(get(u"Command2"_s)->geometry(), QRect(72, top + 32, 25, 25));
    const QString k = u'_' + QString::number(last);
    const std::pair<QString, QRect> columns[] = {{u"Combo1"_s, QRect(40, top, 201, 21)},
                                                 {u"Text1"_s, QRect(248, top, 49, 19)},
                                                 {u"Text2"_s, QRect(312, top, 233, 19)},
                                                 {u"Text3"_s, QRect(560, top, 233, 19)},
                                                 {u"Text4"_s, QRect(560, top, 233, 19)}};
    for (const auto &[column, geometry] : columns) {
        QCOMPARE(get(column + k)->geometry(), geometry);
        QVERIFY(!get(column + u'_' + QString::number(last + 1)));
    }
    QCOMPARE(text(u"Text1"_s + k), u"12"_s);
    if (last > 0) { // after "+" the bottom area stands in front of every row, "Options" foremost
        const QObjectList &stack = m_form->children();
        QVERIFY(stack.indexOf(get(u"Picture2"_s)) > stack.indexOf(get(u"Text4"_s + k)));
        QVERIFY(stack.indexOf(get(u"Text5"_s)) > stack.indexOf(get(u"Picture2"_s)));
        QVERIFY(stack.indexOf(get(u"Command5"_s)) > stack.indexOf(get(u"Command3"_s)));
    }
}

void TestForm1::newRowsFollowRowZeroAndCheck1()
{
    open();
    setText(u"Text2_0"_s, u"250"_s);
    click(u"Command1"_s);
    QCOMPARE(text(u"Text2_1"_s), u"250"_s);
    QCOMPARE(text(u"Text4_1"_s), u"250"_s);
    QCOMPARE(get<QComboBox>(u"Combo1_1"_s)->count(), 3);
    QVERIFY(get(u"Text4_1"_s)->isVisible());

    get<QCheckBox>(u"Check1"_s)->setChecked(false);
    QVERIFY(get(u"Text4_0"_s)->isHidden());
    QVERIFY(get(u"Text4_1"_s)->isHidden());
    click(u"Command1"_s);
    QVERIFY(get(u"Text4_2"_s)->isHidden());
    QVERIFY(get(u"Text3_2"_s)->isVisible());
    get<QCheckBox>(u"Check1"_s)->setChecked(true);
    for (const QString &name : {u"Text4_0"_s, u"Text4_1"_s, u"Text4_2"_s})
        QVERIFY2(get(name)->isVisible(), qPrintable(name));
    // A new row's selling price drives its own generated price, at the bar's percentage.
    get<QScrollBar>(u"HScroll1"_s)->setValue(50);
    setText(u"Text2_2"_s, u"25"_s);
    QCOMPARE(text(u"Text4_2"_s), u"12.5"_s);
}

void TestForm1::generate_data()
{
    QTest::addColumn<QString>("options"); // ticked: B buying code, G generated price, S selling
    QTest::addColumn<QString>("buying");
    QTest::addColumn<bool>("secondRow");
    QTest::addColumn<QString>("code"); // null: the Error box
    const QString hint = u"Enter buyingprice here"_s;
    QTest::newRow("start-up options")
            << u"BGS"_s << hint << false << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s;
    QTest::newRow("typed buying price")
            << u"BS"_s << u"200"_s << false << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,"_s;
    QTest::newRow("selling code only") << u"GS"_s << hint << false << u"12/1/0/,250.0,false,"_s;
    QTest::newRow("second row with its own item")
            << u"BGS"_s << hint << true
            << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,;7/1/0/,40.0,true,;7/1/0/,40.0,false,"_s;
    QTest::newRow("nothing asked for") << u"G"_s << hint << false << u""_s;
    QTest::newRow("buying hint left in its box") << u"BS"_s << hint << false << QString();
}

void TestForm1::generate()
{
    QFETCH(QString, options);
    QFETCH(QString, buying);
    QFETCH(bool, secondRow);
    QFETCH(QString, code);
    open();
    setText(u"Text2_0"_s, u"250"_s);
    setText(u"Text3_0"_s, buying);
    get<QCheckBox>(u"Check1"_s)->setChecked(options.contains(u'G'));
    get<QCheckBox>(u"Check2"_s)->setChecked(options.contains(u'B'));
    get<QCheckBox>(u"Check3"_s)->setChecked(options.contains(u'S'));
    if (secondRow) {
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
}

void TestForm1::errorBoxIsPlain()
{
    open(false);
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->done(QMessageBox::Ok); // closes it once this returns
        shown = true;
        QCOMPARE(box->windowTitle() + u": "_s + box->text(),
                 u"Error: Please enter everything before!"_s);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    });
    click(u"Command3"_s); // row 0 still holds its hints
    QVERIFY(shown);
}

void TestForm1::priceHint_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byTab"); // from the box to its left, else by a click
    QTest::addColumn<QString>("expected");
    QTest::newRow("selling hint cleared by click")
            << u"Text2_0"_s << u"Enter sellingprice here"_s << false << QString();
    QTest::newRow("buying hint cleared by Tab")
            << u"Text3_0"_s << u"Enter buyingprice here"_s << true << QString();
    QTest::newRow("hint in an added row cleared by Tab")
            << u"Text2_1"_s << u"Enter sellingprice here"_s << true << QString();
    QTest::newRow("typed selling price survives click")
            << u"Text2_0"_s << u"250"_s << false << u"250"_s;
    QTest::newRow("typed buying price survives Tab")
            << u"Text3_1"_s << u"200"_s << true << u"200"_s;
}

void TestForm1::priceHint()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, byTab);
    QFETCH(QString, expected);
    open();
    click(u"Command1"_s);
    setText(box, text);
    if (byTab) {
        QWidget *left = get((box.startsWith(u"Text2") ? u"Text1"_s : u"Text2"_s) + box.mid(5));
        left->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(left, Qt::Key_Tab);
    } else {
        click(box);
    }
    QCOMPARE(QApplication::focusWidget(), get(box));
    QCOMPARE(this->text(box), expected);
}

void TestForm1::editedCatalogueSeenByNextChoice()
{
    open();
    auto *list = get<QComboBox>(u"Combo1_0"_s);
    auto *id = get<QLineEdit>(u"Text1_0"_s);
    writeCatalogue("[ID]\nx=99\ny=7\nz=21\n");
    // The user picks the entry already shown: it is still a choice, and reads the file again.
    list->showPopup();
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(id->text(), u"99"_s);
}

void TestForm1::unusableCatalogue_data()
{
    QTest::addColumn<QByteArray>("contents"); // null: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("section ID without keys") << QByteArray("[ID]\n");
}

void TestForm1::unusableCatalogue()
{
    QFETCH(QByteArray, contents);
    if (contents.isNull())
        QVERIFY(QFile::remove(m_dir->filePath(u"id.txt"_s)));
    else
        writeCatalogue(contents);
    open();
    click(u"Command1"_s);
    QCOMPARE(m_form->zeilenanzahl, 1);
    for (const QString &row : {u"0"_s, u"1"_s}) {
        QCOMPARE(get<QComboBox>(u"Combo1_"_s + row)->count(), 0);
        QCOMPARE(get<QComboBox>(u"Combo1_"_s + row)->currentIndex(), -1);
        QCOMPARE(text(u"Text1_"_s + row), u"ID"_s);
    }
    setText(u"Text2_0"_s, u"250"_s);
    click(u"Command3"_s);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(get<QPlainTextEdit>(u"Text5"_s)->toPlainText().isEmpty());
}

void TestForm1::accessibility()
{
    open();
    click(u"Command1"_s);
    click(u"Command5"_s);
    const auto name = [&](const QString &objectName) {
        return QAccessible::queryAccessibleInterface(get(objectName))->text(QAccessible::Name);
    };
    QCOMPARE(name(u"Combo1_0"_s), u"Item, row 1"_s);
    QCOMPARE(name(u"Text2_1"_s), u"Selling price, row 2"_s);
    QCOMPARE(name(u"Text4_1"_s), u"Generated buying price, row 2"_s);
    QCOMPARE(name(u"Command1"_s), u"Add row"_s);
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
