// SPDX-License-Identifier: GPL-3.0-or-later
#include "codereader.h"
#include "generate.h"
#include "tradecode.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

class TstCodeReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void roundTrip();
};

// A reading in a line: the kinds and each row's id/buy/sell, or the entry at fault and the message.
static QString described(const CodeReading &reading)
{
    if (!reading.ok())
        return u"entry %1: %2"_s.arg(reading.faultEntry).arg(reading.fault);
    QStringList parts{QStringList{u"buy and sell:"_s, u"buy only:"_s, u"sell only:"_s}.at(
            int(reading.kinds))};
    for (const TradeRowTexts &row : reading.rowTexts())
        parts.append(row.id + u'/' + row.buyingPrice + u'/' + row.sellingPrice);
    return parts.join(u' ');
}

void TstCodeReader::read_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");

    const QString b12 = u"12/1/0/,200.0,true,"_s;
    const QString s12 = u"12/1/0/,250.0,false,"_s;
    const QString b7 = u"7/1/0/,35.0,true,"_s;
    const QString s7 = u"7/1/0/,40.0,false,"_s;
    const auto code = [](const QStringList &entries) { return entries.join(u';'); };
    const auto row = [](const char *name, const QString &text) -> QTestData & {
        return QTest::newRow(name) << text;
    };
    const auto quoting = [](int entry, const QString &quote) {
        return u"entry %1: Entry %1 is not a trade entry: \"%2\""_s.arg(entry).arg(quote);
    };
    // One entry, quoted whole.
    const auto notEntry
            = [&](const char *name, const QString &text) { row(name, text) << quoting(1, text); };

    row("worked example", code({b12, s12})) << u"buy and sell: 12/200/250"_s;
    row("two rows", code({b12, s12, b7, s7})) << u"buy and sell: 12/200/250 7/35/40"_s;
    row("sell only", code({s12, s7})) << u"sell only: 12//250 7//40"_s;
    row("buy only", code({b12, b7})) << u"buy only: 12/200/ 7/35/"_s;
    row("range ends", u"-32768/1/0/,32767.0,true,;-32768/1/0/,-32768.0,false,"_s)
            << u"buy and sell: -32768/32767/-32768"_s;
    row("blanks and a line break around", u" \t"_s + s12 + u"\r\n"_s) << u"sell only: 12//250"_s;
    row("sell entries of one id are two rows", code({s12, s12})) << u"sell only: 12//250 12//250"_s;
    row("buy entries of one id are two rows", code({b12, b12})) << u"buy only: 12/200/ 12/200/"_s;

    row("empty", u""_s) << u"entry 0: The code is empty"_s;
    row("only blanks", u" \r\n\t "_s) << u"entry 0: The code is empty"_s;
    notEntry("bad id", u"1x/1/0/,200.0,true,"_s);
    notEntry("bad price", u"12/1/0/,2o0.0,false,"_s);
    notEntry("leading zero", u"012/1/0/,200.0,true,"_s);
    notEntry("plus sign", u"+12/1/0/,200.0,true,"_s);
    notEntry("minus zero", u"12/1/0/,-0.0,true,"_s);
    notEntry("blank inside", u"12/1/0/, 200.0,true,"_s);
    notEntry("no .0", u"12/1/0/,200,true,"_s);
    notEntry("wrong flag", u"12/1/0/,200.0,True,"_s);
    notEntry("wrong fixed text", u"12/1/1/,200.0,true,"_s);
    notEntry("id out of range", u"32768/1/0/,1.0,true,"_s);
    notEntry("price out of range", u"1/1/0/,-32769.0,true,"_s);
    row("no final comma", b12 + u";12/1/0/,250.0,false"_s) << quoting(2, u"12/1/0/,250.0,false"_s);
    row("long entry cut short", QString(100, u'x')) << quoting(1, QString(39, u'x') + u'\u2026');
    row("cut before a character, not inside", QString(38, u'x') + u"\U0001F600yy"_s)
            << quoting(1, QString(38, u'x') + u'\u2026');
    row("leading ;", u';' + b12) << u"entry 1: Entry 1 is empty"_s;
    row("doubled ;", b12 + u";;"_s + s12) << u"entry 2: Entry 2 is empty"_s;

    const QStringList fifteenRows(15, code({b12, s12}));
    row("15 rows", code(fifteenRows)) << u"entry 29: 15 rows; at most 14 fit"_s;
    row("a bad entry beyond the limit comes first", code(fifteenRows) + u";x"_s)
            << quoting(31, u"x"_s);
    row("the limit before the kinds", code(QStringList{b7} + fifteenRows))
            << u"entry 28: 16 rows; at most 14 fit"_s;

    row("buy only among buy and sell", code({b12, s12, b7, b12, s12}))
            << u"entry 3: Row 2 (entry 3) lacks the sell entry that row 1 has"_s;
    row("buy and sell of two ids", code({b12, s7}))
            << u"entry 2: Row 2 (entry 2) lacks the buy entry that row 1 has"_s;
    row("sell only, then a buy entry", code({s12, s7, b7}))
            << u"entry 3: Row 3 (entry 3) has a buy entry that row 1 lacks"_s;
    row("sell before buy", code({s12, b12}))
            << u"entry 2: Row 2 (entry 2) has a buy entry that row 1 lacks"_s;
}

void TstCodeReader::read()
{
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(described(readTradeCode(code)), expected);
}

// Every code that "Generate" writes reads back into rows from which it writes the same code
// again. The rows are typed in a locale's own number forms, and the code is written again from
// the decimal forms that the reading gives, in the same locale, as the window would. Ids repeat
// in neighbouring rows often, so that the pairing is tried where it could merge or split rows.
void TstCodeReader::roundTrip()
{
    QRandomGenerator random(18);
    const std::array locales{QLocale(u"de_DE"_s), QLocale(u"sv_SE"_s), QLocale(u"de_CH"_s),
                             QLocale(u"en_US"_s)};
    const auto value = [&random] {
        constexpr std::array<qint16, 7> often{-32768, -32767, -1, 0, 1, 32766, 32767};
        if (random.bounded(4) == 0)
            return often.at(random.bounded(int(often.size())));
        return qint16(random.bounded(-32768, 32768));
    };
    TradeCode tables;
    for (int run = 0; run < 500; ++run) {
        const QLocale &locale = locales.at(run % locales.size());
        const int count = 1 + random.bounded(CodeReading::MaxRows);
        QList<TradeRowTexts> rows;
        qint16 id = value();
        for (int k = 0; k < count; ++k) {
            if (random.bounded(3) != 0)
                id = value();
            rows.append({k, locale.toString(id), locale.toString(value()), locale.toString(value()),
                         locale.toString(value())});
        }
        for (int ticked = 0; ticked < 8; ++ticked) {
            const GenerateOptions options{bool(ticked & 1), bool(ticked & 2), bool(ticked & 4)};
            const GenerateResult written = generateTradeCode(tables, options, rows, locale);
            QVERIFY(written.ok());
            const CodeReading reading = readTradeCode(written.tradeCode);
            if (!options.buyingCode && !options.sellingCode) {
                QCOMPARE(reading.fault, u"The code is empty"_s);
                continue;
            }
            QVERIFY2(reading.ok(), qPrintable(written.tradeCode + u": "_s + reading.fault));
            QCOMPARE(reading.rows.size(), count);
            const GenerateResult again
                    = generateTradeCode(tables, reading.options(), reading.rowTexts(), locale);
            QCOMPARE(again.tradeCode, written.tradeCode);
        }
    }
}

QTEST_GUILESS_MAIN(TstCodeReader)
#include "tst_codereader.moc"
