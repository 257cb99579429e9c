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
    void rowsBlockedWhileOptionsShown();
    void newRowsFollowRowZeroAndCheck1();
    void generate_data();
    void generate();
    void errorBoxIsPlain();
    void clipboard_data();
    void clipboard();
    void priceHint_data();
    void priceHint();
    void editedCatalogueSeenByNextChoice();
    void unusableCatalogue_data();
    void unusableCatalogue();
    void accessibleNames();
    void tabOrderReachesEveryControl();

private:
    std::unique_ptr<Form1> makeForm(bool seam = true);
    void writeCatalogue(const QByteArray &text);
    template<class W = QWidget>
    W *find(const Form1 &form, const QString &name)
    {
        return form.findChild<W *>(name);
    }
    void click(const Form1 &form, const QString &name)
    {
        QTest::mouseClick(find(form, name), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_messages;
};

void TestForm1::init()
{
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

std::unique_ptr<Form1> TestForm1::makeForm(bool seam)
{
    auto form = std::make_unique<Form1>(m_dir->filePath(u"id.txt"_s),
                                        QLocale(QLocale::English, QLocale::UnitedStates));
    if (seam)
        form->setShowMessage([this](const QString &prompt, const QString &title) {
            m_messages << title + u": "_s + prompt;
        });
    form->show();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("window not active; focus checks may fail");
    return form;
}

void TestForm1::startUp()
{
    auto form = makeForm();
    QCOMPARE(form->windowTitle(), u"Quennel"_s);
    QCOMPARE(form->size(), QSize(815, 703));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!form->windowIcon().isNull());
    auto *list = find<QComboBox>(*form, u"Combo1_0"_s);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(2), u"z"_s);
    QCOMPARE(list->currentText(), u"x"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text1_0"_s)->text(), u"12"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text2_0"_s)->text(), u"Enter sellingprice here"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text4_0"_s)->text(), u"Price will be generated"_s);
    QVERIFY(find(*form, u"Picture1"_s)->isHidden());
    QCOMPARE(find<QScrollBar>(*form, u"HScroll1"_s)->value(), 100);
    QVERIFY(find<QCheckBox>(*form, u"Check1"_s)->isChecked());
    QCOMPARE(QApplication::focusWidget(), list);
    // The generated price box covers the typed one exactly; Copy spans Generate to Options.
    QCOMPARE(find(*form, u"Text4_0"_s)->geometry(), find(*form, u"Text3_0"_s)->geometry());
    const QObjectList &stack = form->children();
    QVERIFY(stack.indexOf(find(*form, u"Text4_0"_s)) > stack.indexOf(find(*form, u"Text3_0"_s)));
    const QWidget *copy = find(*form, u"Command6"_s);
    const QRect copyOnWindow(copy->mapTo(form.get(), QPoint()), copy->size());
    QCOMPARE(copyOnWindow.left(), find(*form, u"Command3"_s)->geometry().left());
    QCOMPARE(copyOnWindow.right(), find(*form, u"Command5"_s)->geometry().right());
}

void TestForm1::rows_data()
{
    QTest::addColumn<int>("plus");
    QTest::addColumn<int>("minus");
    QTest::addColumn<int>("last");
    QTest::newRow("row 0 only") << 0 << 0 << 0;
    QTest::newRow("one added") << 1 << 0 << 1;
    QTest::newRow("thirteen added") << 13 << 0 << 13;
    QTest::newRow("fourteenth click ignored") << 14 << 0 << 13;
    QTest::newRow("row 0 is never removed") << 0 << 1 << 0;
    QTest::newRow("added then removed") << 2 << 1 << 1;
}

void TestForm1::rows()
{
    QFETCH(int, plus);
    QFETCH(int, minus);
    QFETCH(int, last);
    auto form = makeForm();
    for (int i = 0; i < plus; ++i)
        click(*form, u"Command1"_s);
    for (int i = 0; i < minus; ++i)
        click(*form, u"Command2"_s);
    QCOMPARE(form->zeilenanzahl, last);
    QCOMPARE(find(*form, u"Command1"_s)->geometry(), QRect(40, 96 + 35 * last, 25, 25));
    QCOMPARE(find(*form, u"Command2"_s)->geometry(), QRect(72, 96 + 35 * last, 25, 25));
    const struct
    {
        QString name;
        int left, width;
    } columns[] = {{u"Combo1"_s, 40, 201},
                   {u"Text1"_s, 248, 49},
                   {u"Text2"_s, 312, 233},
                   {u"Text3"_s, 560, 233},
                   {u"Text4"_s, 560, 233}};
    for (const auto &column : columns) {
        const QWidget *element = find(*form, column.name + u'_' + QString::number(last));
        QCOMPARE(QRect(element->x(), element->y(), element->width(), 1),
                 QRect(column.left, 64 + 35 * last, column.width, 1));
        QVERIFY(!find(*form, column.name + u'_' + QString::number(last + 1)));
    }
    QCOMPARE(find<QLineEdit>(*form, u"Text1_"_s + QString::number(last))->text(), u"12"_s);
    if (last > 0) { // the bottom area stays in front of every row
        const QObjectList &stack = form->children();
        QVERIFY(stack.indexOf(find(*form, u"Picture2"_s))
                > stack.indexOf(find(*form, u"Text4_"_s + QString::number(last))));
        QVERIFY(stack.indexOf(find(*form, u"Text5"_s)) > stack.indexOf(find(*form, u"Picture2"_s)));
        QVERIFY(stack.indexOf(find(*form, u"Command5"_s))
                > stack.indexOf(find(*form, u"Command3"_s)));
    }
}

void TestForm1::rowsBlockedWhileOptionsShown()
{
    auto form = makeForm();
    click(*form, u"Command1"_s);
    click(*form, u"Command5"_s);
    QVERIFY(find(*form, u"Picture1"_s)->isVisible());
    click(*form, u"Command1"_s);
    click(*form, u"Command2"_s);
    QCOMPARE(form->zeilenanzahl, 1);
    QCOMPARE(find(*form, u"Command1"_s)->y(), 131);
    click(*form, u"Command4"_s);
    click(*form, u"Command1"_s);
    QCOMPARE(form->zeilenanzahl, 2);
}

void TestForm1::newRowsFollowRowZeroAndCheck1()
{
    auto form = makeForm();
    find<QLineEdit>(*form, u"Text2_0"_s)->setText(u"250"_s);
    click(*form, u"Command1"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text2_1"_s)->text(), u"250"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text4_1"_s)->text(), u"250"_s);
    QCOMPARE(find<QComboBox>(*form, u"Combo1_1"_s)->count(), 3);
    QVERIFY(find(*form, u"Text4_1"_s)->isVisible());

    click(*form, u"Check1"_s); // works on the hidden panel's box as a click does
    QVERIFY(find(*form, u"Text4_0"_s)->isHidden());
    QVERIFY(find(*form, u"Text4_1"_s)->isHidden());
    click(*form, u"Command1"_s);
    QVERIFY(find(*form, u"Text4_2"_s)->isHidden());
    QVERIFY(find(*form, u"Text3_2"_s)->isVisible());
    find<QCheckBox>(*form, u"Check1"_s)->setChecked(true);
    for (const QString &name : {u"Text4_0"_s, u"Text4_1"_s, u"Text4_2"_s})
        QVERIFY2(find(*form, name)->isVisible(), qPrintable(name));
    // A new row's selling price drives its own generated price.
    find<QLineEdit>(*form, u"Text2_2"_s)->setText(u"40"_s);
    QCOMPARE(find<QLineEdit>(*form, u"Text4_2"_s)->text(), u"40"_s);
}

void TestForm1::generate_data()
{
    QTest::addColumn<QString>("selling");
    QTest::addColumn<QString>("buying");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("generated"); // "Use generated buying price"
    QTest::addColumn<bool>("buy");
    QTest::addColumn<bool>("sell");
    QTest::addColumn<bool>("secondRow");
    QTest::addColumn<QString>("code"); // empty with an error
    QTest::addColumn<bool>("error");
    const QString buyHint = u"Enter buyingprice here"_s;
    QTest::newRow("start-up options") << u"250"_s << buyHint << 100 << true << true << true << false
                                      << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,"_s << false;
    QTest::newRow("generated price rounded half to even")
            << u"25"_s << buyHint << 50 << true << true << true << false
            << u"12/1/0/,12.0,true,;12/1/0/,25.0,false,"_s << false;
    QTest::newRow("typed buying price")
            << u"250"_s << u"200"_s << 100 << false << true << true << false
            << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,"_s << false;
    QTest::newRow("second row with its own item")
            << u"250"_s << buyHint << 100 << true << true << true << true
            << u"12/1/0/,250.0,true,;12/1/0/,250.0,false,;7/1/0/,40.0,true,;7/1/0/,40.0,false,"_s
            << false;
    QTest::newRow("selling code only") << u"250"_s << buyHint << 100 << true << false << true
                                       << false << u"12/1/0/,250.0,false,"_s << false;
    QTest::newRow("nothing asked for")
            << u"x"_s << buyHint << 100 << true << false << false << false << QString() << false;
    QTest::newRow("buying hint left in its box")
            << u"250"_s << buyHint << 100 << false << true << true << false << QString() << true;
    QTest::newRow("price out of range")
            << u"40000"_s << buyHint << 100 << true << true << true << false << QString() << true;
}

void TestForm1::generate()
{
    QFETCH(QString, selling);
    QFETCH(QString, buying);
    QFETCH(int, percent);
    QFETCH(bool, generated);
    QFETCH(bool, buy);
    QFETCH(bool, sell);
    QFETCH(bool, secondRow);
    QFETCH(QString, code);
    QFETCH(bool, error);
    auto form = makeForm();
    find<QScrollBar>(*form, u"HScroll1"_s)->setValue(percent);
    find<QLineEdit>(*form, u"Text2_0"_s)->setText(selling);
    find<QLineEdit>(*form, u"Text3_0"_s)->setText(buying);
    find<QCheckBox>(*form, u"Check1"_s)->setChecked(generated);
    find<QCheckBox>(*form, u"Check2"_s)->setChecked(buy);
    find<QCheckBox>(*form, u"Check3"_s)->setChecked(sell);
    if (secondRow) {
        click(*form, u"Command1"_s);
        QTest::keyClick(find(*form, u"Combo1_1"_s), Qt::Key_Down); // the user picks "y"
        find<QLineEdit>(*form, u"Text2_1"_s)->setText(u"40"_s);
    }
    auto *output = find<QPlainTextEdit>(*form, u"Text5"_s);
    output->setPlainText(u"an earlier trade code"_s);
    click(*form, u"Command3"_s);
    QCOMPARE(output->toPlainText(), code);
    QCOMPARE(m_messages,
             error ? QStringList{u"Error: Please enter everything before!"_s} : QStringList());
}

void TestForm1::errorBoxIsPlain()
{
    auto form = makeForm(false);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    click(*form, u"Command3"_s); // row 0 still holds its hints
    QCOMPARE(title, u"Error"_s);
    QCOMPARE(text, u"Please enter everything before!"_s);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestForm1::clipboard_data()
{
    QTest::addColumn<QString>("edited");
    QTest::newRow("text edited after Generate") << u"12/1/0/,99.0,false,"_s;
    QTest::newRow("empty output box") << QString();
}

void TestForm1::clipboard()
{
    QFETCH(QString, edited);
    auto form = makeForm();
    QGuiApplication::clipboard()->setText(u"earlier content"_s);
    find<QLineEdit>(*form, u"Text2_0"_s)->setText(u"250"_s);
    click(*form, u"Command3"_s);
    find<QPlainTextEdit>(*form, u"Text5"_s)->setPlainText(edited);
    click(*form, u"Command6"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), edited);
}

void TestForm1::priceHint_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before"); // the box the Tab key leaves
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byTab");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selling hint cleared by click")
            << u"Text2_0"_s << QString() << u"Enter sellingprice here"_s << false << QString();
    QTest::newRow("buying hint cleared by Tab")
            << u"Text3_0"_s << u"Text2_0"_s << u"Enter buyingprice here"_s << true << QString();
    QTest::newRow("hint in an added row cleared by Tab")
            << u"Text2_1"_s << u"Text1_1"_s << u"Enter sellingprice here"_s << true << QString();
    QTest::newRow("typed selling price survives click")
            << u"Text2_0"_s << QString() << u"250"_s << false << u"250"_s;
    QTest::newRow("typed buying price survives Tab")
            << u"Text3_1"_s << u"Text2_1"_s << u"200"_s << true << u"200"_s;
    QTest::newRow("other column's hint is a typed text")
            << u"Text2_0"_s << QString() << u"Enter buyingprice here"_s << false
            << u"Enter buyingprice here"_s;
}

void TestForm1::priceHint()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(bool, byTab);
    QFETCH(QString, expected);
    auto form = makeForm();
    click(*form, u"Command1"_s);
    auto *target = find<QLineEdit>(*form, box);
    target->setText(text);
    if (byTab) {
        find(*form, before)->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(find(*form, before), Qt::Key_Tab);
    } else {
        click(*form, box);
    }
    QCOMPARE(QApplication::focusWidget(), target);
    QCOMPARE(target->text(), expected);
}

void TestForm1::editedCatalogueSeenByNextChoice()
{
    auto form = makeForm();
    auto *list = find<QComboBox>(*form, u"Combo1_0"_s);
    auto *id = find<QLineEdit>(*form, u"Text1_0"_s);
    writeCatalogue("[ID]\nx=99\ny=7\nz=21\n");
    // The user picks the entry already shown: it is still a choice, and reads the file again.
    list->showPopup();
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(id->text(), u"99"_s);
    writeCatalogue("[ID]\nx=98\ny=7\nz=21\n");
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(id->text(), u"7"_s);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(id->text(), u"98"_s);
}

void TestForm1::unusableCatalogue_data()
{
    QTest::addColumn<QByteArray>("contents"); // null: no file at all
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("no section ID") << QByteArray("[Other]\nx=12\n");
    QTest::newRow("section ID without keys") << QByteArray("[ID]\n");
}

void TestForm1::unusableCatalogue()
{
    QFETCH(QByteArray, contents);
    if (contents.isNull())
        QVERIFY(QFile::remove(m_dir->filePath(u"id.txt"_s)));
    else
        writeCatalogue(contents);
    auto form = makeForm();
    click(*form, u"Command1"_s);
    QCOMPARE(form->zeilenanzahl, 1);
    for (const QString &row : {u"0"_s, u"1"_s}) {
        QCOMPARE(find<QComboBox>(*form, u"Combo1_"_s + row)->count(), 0);
        QCOMPARE(find<QComboBox>(*form, u"Combo1_"_s + row)->currentIndex(), -1);
        QCOMPARE(find<QLineEdit>(*form, u"Text1_"_s + row)->text(), u"ID"_s);
    }
    find<QLineEdit>(*form, u"Text2_0"_s)->setText(u"250"_s);
    click(*form, u"Command3"_s);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(find<QPlainTextEdit>(*form, u"Text5"_s)->toPlainText().isEmpty());
}

void TestForm1::accessibleNames()
{
    auto form = makeForm();
    click(*form, u"Command1"_s);
    click(*form, u"Command1"_s);
    const auto name = [&](const QString &objectName) {
        return QAccessible::queryAccessibleInterface(find(*form, objectName))
                ->text(QAccessible::Name);
    };
    QCOMPARE(name(u"Combo1_0"_s), u"Item, row 1"_s);
    QCOMPARE(name(u"Text2_2"_s), u"Selling price, row 3"_s);
    QCOMPARE(name(u"Text4_2"_s), u"Generated buying price, row 3"_s);
    QCOMPARE(name(u"Command1"_s), u"Add row"_s);
    const QRegularExpression control(u"^(Command|Text|Check|HScroll|Picture|Label|Combo)\\d"_s);
    int named = 0;
    for (const QWidget *w : form->findChildren<QWidget *>(control)) {
        QVERIFY2(!name(w->objectName()).isEmpty(), qPrintable(w->objectName()));
        ++named;
    }
    QCOMPARE(named, 23 + 2 * 5);
    click(*form, u"Command5"_s);
    auto *percent = find<QScrollBar>(*form, u"HScroll1"_s);
    QTest::keyClick(percent, Qt::Key_Home);
    QTest::keyClick(percent, Qt::Key_Right); // right is more, as the bar is drawn
    QTest::keyClick(percent, Qt::Key_PageUp);
    QCOMPARE(QAccessible::queryAccessibleInterface(percent)->valueInterface()->currentValue(),
             QVariant(11));
    QCOMPARE(percent->toolTip(), u"11 %"_s);
}

void TestForm1::tabOrderReachesEveryControl()
{
    auto form = makeForm();
    click(*form, u"Command1"_s);
    click(*form, u"Command5"_s);
    find(*form, u"Combo1_0"_s)->setFocus();
    QStringList reached;
    for (int i = 0; i < 40 && !reached.contains(QApplication::focusWidget()->objectName()); ++i) {
        reached << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(reached.join(u' '),
             u"Combo1_0 Text1_0 Text2_0 Text3_0 Text4_0 Combo1_1 Text1_1 Text2_1 Text3_1 Text4_1 "
             "Check1 Check2 Check3 HScroll1 Command1 Command2 Command3 Text5 Command4 Command5 "
             "Command6"_s);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
