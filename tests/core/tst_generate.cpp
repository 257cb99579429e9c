#include "generate.h"
#include "tradecode.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using Box = GenerateResult::Box;
using Rows = QList<TradeRowTexts>;

class TstGenerate : public QObject
{
    Q_OBJECT

private slots:
    void boxesRead_data();
    void boxesRead();
    void codes_data();
    void codes();
    void failures_data();
    void failures();
    void tablesEmptiedFirst();
};

static const GenerateOptions all{true, true, true};
static const GenerateOptions typed{true, false, true};
static const GenerateOptions sellOnly{false, false, true};
// Stands in every box that the options do not name: reading it would fail the run.
static const QString garbage = u"not read"_s;

static QList<int> filledSlots(const std::array<QString, TradeCode::LastSlot + 1> &table)
{
    QList<int> filled;
    for (int slot = TradeCode::FirstSlot; slot <= TradeCode::LastSlot; ++slot) {
        if (!table[slot].isEmpty())
            filled << slot;
    }
    return filled;
}

void TstGenerate::boxesRead_data()
{
    QTest::addColumn<GenerateOptions>("options");
    QTest::addColumn<TradeRowTexts>("row");
    QTest::addColumn<QString>("expected");

    const QString &g = garbage;
    const QString buy = u"12/1/0/,200.0,true,"_s;
    const QString gen = u"12/1/0/,160.0,true,"_s;
    const QString sell = u"12/1/0/,250.0,false,"_s;
    QTest::newRow("buy generated, sell: Text1 Text4 Text1 Text2")
            << all << TradeRowTexts{0, u"12"_s, u"250"_s, g, u"160"_s} << gen + u';' + sell;
    QTest::newRow("buy typed, sell: Text1 Text3 Text1 Text2")
            << typed << TradeRowTexts{0, u"12"_s, u"250"_s, u"200"_s, g} << buy + u';' + sell;
    QTest::newRow("buy generated: Text1 Text4") << GenerateOptions{true, true, false}
                                                << TradeRowTexts{0, u"12"_s, g, g, u"160"_s} << gen;
    QTest::newRow("buy typed: Text1 Text3") << GenerateOptions{true, false, false}
                                            << TradeRowTexts{0, u"12"_s, g, u"200"_s, g} << buy;
    QTest::newRow("sell, generated ticked: Text1 Text2")
            << GenerateOptions{false, true, true} << TradeRowTexts{0, u"12"_s, u"250"_s, g, g}
            << sell;
    QTest::newRow("sell: Text1 Text2")
            << sellOnly << TradeRowTexts{0, u"12"_s, u"250"_s, g, g} << sell;
    QTest::newRow("nothing, generated ticked: no box")
            << GenerateOptions{false, true, false} << TradeRowTexts{0, g, g, g, g} << QString();
    // Nothing is stored, so even an index without a slot does not fail.
    QTest::newRow("nothing: no box, no slot")
            << GenerateOptions{false, false, false} << TradeRowTexts{5000, g, g, g, g} << QString();
}

void TstGenerate::boxesRead()
{
    QFETCH(GenerateOptions, options);
    QFETCH(TradeRowTexts, row);
    QFETCH(QString, expected);
    TradeCode tables;
    const GenerateResult result = generateTradeCode(tables, options, {row}, QLocale::c());
    QCOMPARE(result.failedBox, Box::None);
    QCOMPARE(result.tradeCode, expected);
}

void TstGenerate::codes_data()
{
    QTest::addColumn<GenerateOptions>("options");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("expected");

    const QString us = u"en_US"_s;
    const Rows example{{0, u"12"_s, u"250"_s, u"200"_s, u"Price will be generated"_s},
                       {1, u"7"_s, u"40"_s, u"35"_s, u"Price will be generated"_s}};
    QTest::newRow("worked example") << typed << us << example
                                    << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,;"
                                       "7/1/0/,35.0,true,;7/1/0/,40.0,false,"_s;
    QTest::newRow("worked example, sell only")
            << sellOnly << us << example << u"12/1/0/,250.0,false,;7/1/0/,40.0,false,"_s;
    QTest::newRow("de reads its own separators")
            << GenerateOptions{true, true, false} << u"de_DE"_s
            << Rows{{0, u"1.234"_s, {}, {}, u"12,5"_s}} << u"1234/1/0/,12.0,true,"_s;
}

void TstGenerate::codes()
{
    QFETCH(GenerateOptions, options);
    QFETCH(QString, locale);
    QFETCH(Rows, rows);
    QFETCH(QString, expected);
    TradeCode tables;
    const GenerateResult result = generateTradeCode(tables, options, rows, QLocale(locale));
    QCOMPARE(result.failedBox, Box::None);
    QCOMPARE(result.tradeCode, expected);
}

void TstGenerate::failures_data()
{
    QTest::addColumn<GenerateOptions>("options");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("failedRow");
    QTest::addColumn<Box>("failedBox");
    QTest::addColumn<QList<int>>("buySlots"); // slots that keep an entry after the failure
    QTest::addColumn<QList<int>>("sellSlots");

    const TradeRowTexts good{0, u"12"_s, u"250"_s, u"200"_s, u"160"_s};
    const auto at = [&good](int index) {
        TradeRowTexts row = good;
        row.index = index;
        return row;
    };
    QTest::newRow("initial ID box in a later row")
            << typed << Rows{good, {1, u"ID"_s, u"40"_s, u"35"_s, {}}} << 1 << Box::Id
            << QList<int>{1} << QList<int>{1};
    QTest::newRow("selling prompt after the row's buy entry")
            << typed << Rows{{0, u"12"_s, u"Enter sellingprice here"_s, u"200"_s, {}}} << 0
            << Box::SellingPrice << QList<int>{1} << QList<int>{};
    QTest::newRow("buying price read before selling price")
            << typed << Rows{{0, u"12"_s, u"x"_s, u"Enter buyingprice here"_s, {}}} << 0
            << Box::BuyingPrice << QList<int>{} << QList<int>{};
    QTest::newRow("generated prompt")
            << all << Rows{{0, u"12"_s, u"250"_s, u"200"_s, u"Price will be generated"_s}} << 0
            << Box::GeneratedBuyingPrice << QList<int>{} << QList<int>{};
    QTest::newRow("id read before price") << typed << Rows{{0, {}, u"x"_s, u"x"_s, {}}} << 0
                                          << Box::Id << QList<int>{} << QList<int>{};
    QTest::newRow("sell only reads the id") << sellOnly << Rows{{0, u"x"_s, u"250"_s, {}, {}}} << 0
                                            << Box::Id << QList<int>{} << QList<int>{};
    QTest::newRow("index 1000 has no slot")
            << typed << Rows{good, at(1000)} << 1000 << Box::Slot << QList<int>{1} << QList<int>{1};
    QTest::newRow("negative index has no slot")
            << sellOnly << Rows{at(-1)} << -1 << Box::Slot << QList<int>{} << QList<int>{};
}

void TstGenerate::failures()
{
    QFETCH(GenerateOptions, options);
    QFETCH(Rows, rows);
    QFETCH(int, failedRow);
    QFETCH(Box, failedBox);
    QFETCH(QList<int>, buySlots);
    QFETCH(QList<int>, sellSlots);
    TradeCode tables;
    const GenerateResult result = generateTradeCode(tables, options, rows, QLocale::c());
    QCOMPARE(result.failedBox, failedBox);
    QCOMPARE(result.failedRow, failedRow);
    QCOMPARE(result.tradeCode, QString());
    QCOMPARE(filledSlots(tables.buycodes), buySlots);
    QCOMPARE(filledSlots(tables.sellcodes), sellSlots);
}

void TstGenerate::tablesEmptiedFirst()
{
    TradeCode tables;
    for (int slot = TradeCode::FirstSlot; slot <= TradeCode::LastSlot; ++slot)
        tables.buycodes[slot] = tables.sellcodes[slot] = u";1/1/0/,1.0,true,"_s;

    const Rows rows{{0, u"5"_s, u"100"_s, {}, {}}, {999, u"6"_s, u"60"_s, {}, {}}};
    const GenerateResult result = generateTradeCode(tables, sellOnly, rows, QLocale::c());
    // Row 999 fills slot 1000, which the join never reaches.
    QCOMPARE(result.tradeCode, u"5/1/0/,100.0,false,"_s);
    QCOMPARE(tables.sellcodes[1000], u";6/1/0/,60.0,false,"_s);
    QCOMPARE(filledSlots(tables.buycodes), QList<int>{1000});
}

QTEST_GUILESS_MAIN(TstGenerate)
#include "tst_generate.moc"
