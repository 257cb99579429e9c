// SPDX-License-Identifier: GPL-3.0-or-later
#include "derivedprice.h"
#include "generate.h"
#include "localenumber.h"
#include "tradecode.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using Rows = QList<TradeRowTexts>;

class TstTradeCore : public QObject
{
    Q_OBJECT

private slots:
    // Entries must be written in ASCII digits whatever the default locale is.
    void initTestCase() { QLocale::setDefault(QLocale(u"ar_EG"_s)); }
    void generate_data();
    void generate();
    void derivedPrice_data();
    void derivedPrice();
    void int16ReaderAsToInt16();
};

// Every run is in de_DE, whose separators differ from C's, on tables left full by an earlier run.
void TstTradeCore::generate_data()
{
    QTest::addColumn<QString>("options"); // ticked: B buying code, G generated price, S selling
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("expected"); // the code, or the failure and the entries kept

    // Stands in every box that the options do not name: reading it would fail the run.
    const QString g = u"not read"_s;
    const TradeRowTexts good{0, u"12"_s, u"250"_s, u"200"_s, g};
    const QString buy = u"12/1/0/,200.0,true,"_s;
    const QString gen = u"12/1/0/,160.0,true,"_s;
    const QString sell = u"12/1/0/,250.0,false,"_s;
    const auto row = [](const char *name, const QString &options, const Rows &rows) -> QTestData & {
        return QTest::newRow(name) << options << rows;
    };
    row("BGS reads Text1 Text4 Text2", u"BGS"_s, {{0, u"12"_s, u"250"_s, g, u"160"_s}})
            << gen + u';' + sell;
    row("BS reads Text1 Text3 Text2", u"BS"_s, {good}) << buy + u';' + sell;
    row("BG reads Text1 Text4", u"BG"_s, {{0, u"12"_s, g, g, u"160"_s}}) << gen;
    row("B reads Text1 Text3", u"B"_s, {{0, u"-3"_s, g, u"-20"_s, g}}) << u"-3/1/0/,-20.0,true,"_s;
    row("GS reads Text1 Text2", u"GS"_s, {{0, u"12"_s, u"250"_s, g, g}}) << sell;
    row("S reads Text1 Text2", u"S"_s, {{0, u"12"_s, u"250"_s, g, g}}) << sell;
    row("G reads nothing", u"G"_s, {{0, g, g, g, g}}) << u""_s;
    row("nothing read, no slot needed", u""_s, {{5000, g, g, g, g}}) << u""_s;
    row("worked example", u"BS"_s, {good, {1, u"7"_s, u"40"_s, u"35"_s, g}})
            << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,;7/1/0/,35.0,true,;7/1/0/,40.0,false,"_s;
    row("halves to even", u"S"_s, {{0, u"12,5"_s, u"13,5"_s, g, g}}) << u"12/1/0/,14.0,false,"_s;
    row("range edges", u"S"_s, {{0, u"-32768,5"_s, u"32767"_s, g, g}})
            << u"-32768/1/0/,32767.0,false,"_s;
    row("half above the largest is out", u"S"_s, {{0, u"12"_s, u"32767,5"_s, g, g}})
            << u"selling price at row 0, kept "_s;
    row("group separator", u"BG"_s, {{0, u"1.234"_s, g, g, u"160"_s}})
            << u"1234/1/0/,160.0,true,"_s;
    row("too small for a double is 0", u"S"_s, {{0, u"12"_s, u"-1,5e-400"_s, g, g}})
            << u"12/1/0/,0.0,false,"_s;
    row("inf is no number", u"S"_s, {{0, u"12"_s, u"-inf"_s, g, g}})
            << u"selling price at row 0, kept "_s;
    row("nan is no number, earlier entries stay", u"BS"_s, {good, {1, u"NaN"_s, u"40"_s, g, g}})
            << u"ID at row 1, kept "_s + buy + u';' + sell;
    row("selling hint after the row's buy entry", u"BS"_s,
        {{0, u"12"_s, u"Enter sellingprice here"_s, u"200"_s, g}})
            << u"selling price at row 0, kept "_s + buy;
    row("selling code alone still reads the id", u"S"_s, {{0, u"ID"_s, u"250"_s, g, g}})
            << u"ID at row 0, kept "_s;
    row("row 998 joined, row 999 stored but never joined", u"S"_s,
        {{0, u"5"_s, u"100"_s, g, g}, {998, u"6"_s, u"60"_s, g, g}, {999, u"7"_s, u"70"_s, g, g}})
            << u"5/1/0/,100.0,false,;6/1/0/,60.0,false,"_s;
    row("index 1000 has no slot", u"BS"_s, {good, {1000, u"7"_s, u"40"_s, u"35"_s, g}})
            << u"slot at row 1000, kept "_s + buy + u';' + sell;
    row("negative index has no slot", u"S"_s, {{-1, u"12"_s, u"250"_s, g, g}})
            << u"slot at row -1, kept "_s;
}

void TstTradeCore::generate()
{
    QFETCH(QString, options);
    QFETCH(Rows, rows);
    QFETCH(QString, expected);
    TradeCode tables;
    for (int slot = TradeCode::FirstSlot; slot <= TradeCode::LastSlot; ++slot)
        tables.buycodes[slot] = tables.sellcodes[slot] = u";1/1/0/,1.0,true,"_s;
    const GenerateOptions ticked{options.contains(u'B'), options.contains(u'G'),
                                 options.contains(u'S')};
    const GenerateResult result = generateTradeCode(tables, ticked, rows, QLocale(u"de_DE"_s));
    const QStringList boxes{
            {}, u"ID"_s, u"selling price"_s, u"buying price"_s, u"generated price"_s, u"slot"_s};
    QCOMPARE(result.ok() ? result.tradeCode
                         : u"%1 at row %2, kept %3"_s.arg(boxes.at(int(result.failedBox)))
                                   .arg(result.failedRow)
                                   .arg(tables.codezusammenfügen()),
             expected);
}

// The generated price also shows how every number is written back to the user.
void TstTradeCore::derivedPrice_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("selling");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("expected"); // null: the generated box keeps its text

    const auto row = [](const char *name, const char *locale, const QString &selling,
                        int percent) -> QTestData & {
        return QTest::newRow(name) << QString::fromLatin1(locale) << selling << percent;
    };
    row("error below 15 digits hidden", "en_US", u"7"_s, 100) << u"7"_s;
    row("eighty percent", "en_US", u"7"_s, 80) << u"5.6"_s;
    row("cents", "en_US", u"19.99"_s, 50) << u"9.995"_s;
    row("divided before multiplied", "en_US", u"1e308"_s, 150) << u"1.5E+308"_s;
    row("largest double stays readable", "en_US", u"1.7976931348623157e308"_s, 100)
            << u"1.79769313486231E+308"_s;
    row("exponent from 1E15", "en_US", u"1e15"_s, 100) << u"1E+15"_s;
    row("negative price at zero percent", "en_US", u"-10"_s, 0) << u"0"_s;
    row("hint", "en_US", u"Enter sellingprice here"_s, 50) << QString();
    row("inf", "en_US", u"inf"_s, 50) << QString();
    row("overflow", "en_US", u"1.7e308"_s, 200) << QString();
    row("too large to read", "en_US", u"1e400"_s, 50) << QString();
    row("too small to read is 0", "en_US", u"1e-400"_s, 50) << u"0"_s;
    row("too small, negative", "en_US", u"-1e-400"_s, 50) << u"0"_s;
    row("too small, written out", "en_US", u"0."_s + QString(400, u'0') + u'1', 50) << u"0"_s;
    row("too small, decimal comma", "de_DE", u"1,5e-400"_s, 50) << u"0"_s;
    row("too small, the locale's own digits", "mr_IN", u"\u0967E-\u096A\u0966\u0966"_s, 50)
            << u"0"_s;
    row("too small but not a number", "en_US", u"1e-400x"_s, 50) << QString();
    row("too small, grouped wrongly", "en_US", u"1,00e-400"_s, 50) << QString();
    row("C locale", "C", u"25"_s, 50) << u"12.5"_s;
    row("no group separator", "de_DE", u"2469"_s, 50) << u"1234,5"_s;
    row("exponent below 1E-4", "de_DE", u"-0,00003"_s, 50) << u"-1,5E-05"_s;
    row("narrow no-break space group", "fr_FR", u"1\u202F000,5"_s, 100) << u"1000,5"_s;
    // QLocale cannot read back this locale's own digits and minus sign.
    row("ASCII digits and sign", "ar_EG", u"-25"_s, 50) << u"-12\u066B5"_s;
}

void TstTradeCore::derivedPrice()
{
    QFETCH(QString, locale);
    QFETCH(QString, selling);
    QFETCH(int, percent);
    QFETCH(QString, expected);
    const QLocale loc(locale);
    const std::optional<QString> price = derivedBuyingPrice(selling, qint16(percent), loc);
    QCOMPARE(price.value_or(QString()), expected);
    QVERIFY(!price || readNumber(*price, loc));
}

// The shortcut for plain digits must never read an id otherwise than the locale does.
void TstTradeCore::int16ReaderAsToInt16()
{
    // Empty, signs, separators, blanks, other digits, and past the range by far.
    QStringList texts = u"12|0|0012|32767|32768|000032767|-5|1.234|12,5| 12|12 |\u0661\u0662|1e3|"
                        u"\uFF11|"_s.split(u'|');
    texts << u"1"_s + QString(400, u'0');
    for (const QString &name : {u"en_US"_s, u"de_DE"_s, u"ar_EG"_s, u"fr_FR"_s, u"C"_s}) {
        const QLocale locale(name);
        const Int16Reader read(locale);
        for (const QString &text : texts)
            QVERIFY2(read(text) == toInt16(text, locale), qPrintable(name + u": "_s + text));
    }
}

QTEST_MAIN(TstTradeCore)
#include "tst_tradecore.moc"
