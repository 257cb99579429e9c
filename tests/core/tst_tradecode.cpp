#include "tradecode.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TstTradeCode : public QObject
{
    Q_OBJECT

private slots:
    // A default locale with its own digits and group separators must not reach the trade code.
    void initTestCase() { QLocale::setDefault(QLocale(u"ar_EG"_s)); }

    void entries_data();
    void entries();
    void join_data();
    void join();
};

void TstTradeCode::entries_data()
{
    QTest::addColumn<bool>("buy");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("preis");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sell entry") << false << 12 << 250 << u";12/1/0/,250.0,false,"_s;
    QTest::newRow("buy entry") << true << 12 << 200 << u";12/1/0/,200.0,true,"_s;
    QTest::newRow("negatives") << true << -3 << -20 << u";-3/1/0/,-20.0,true,"_s;
    QTest::newRow("largest, no group separator")
            << false << 32767 << 1234 << u";32767/1/0/,1234.0,false,"_s;
    QTest::newRow("smallest") << true << -32768 << -32768 << u";-32768/1/0/,-32768.0,true,"_s;
}

void TstTradeCode::entries()
{
    QFETCH(bool, buy);
    QFETCH(int, id);
    QFETCH(int, preis);
    QFETCH(QString, expected);
    const auto id16 = qint16(id);
    const auto preis16 = qint16(preis);
    QCOMPARE(buy ? TradeCode::buycode(id16, preis16) : TradeCode::sellcode(id16, preis16),
             expected);
}

// Each row of the table fills one slot: slot, buy entry, sell entry.
using Fill = QList<std::tuple<int, QString, QString>>;

void TstTradeCode::join_data()
{
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<QString>("expected");

    const QString buy12 = u";12/1/0/,200.0,true,"_s;
    const QString sell12 = u";12/1/0/,250.0,false,"_s;
    const QString buy7 = u";7/1/0/,35.0,true,"_s;
    const QString sell7 = u";7/1/0/,40.0,false,"_s;

    QTest::newRow("empty tables give empty code") << Fill{} << QString();
    QTest::newRow("worked example") << Fill{{1, buy12, sell12}, {2, buy7, sell7}}
                                    << u"12/1/0/,200.0,true,;12/1/0/,250.0,false,;"
                                       "7/1/0/,35.0,true,;7/1/0/,40.0,false,"_s;
    QTest::newRow("sell entries only") << Fill{{1, {}, sell12}, {2, {}, sell7}}
                                       << u"12/1/0/,250.0,false,;7/1/0/,40.0,false,"_s;
    QTest::newRow("buy entries only")
            << Fill{{1, buy12, {}}, {2, buy7, {}}} << u"12/1/0/,200.0,true,;7/1/0/,35.0,true,"_s;
    QTest::newRow("single entry loses its separator")
            << Fill{{1, {}, u";5/1/0/,100.0,false,"_s}} << u"5/1/0/,100.0,false,"_s;
    QTest::newRow("empty slots between leave no trace")
            << Fill{{1, {}, sell12}, {5, buy7, {}}} << u"12/1/0/,250.0,false,;7/1/0/,35.0,true,"_s;
    QTest::newRow("slot 999 is joined, slot 1000 never")
            << Fill{{999, buy7, {}}, {1000, buy12, sell12}} << u"7/1/0/,35.0,true,"_s;
}

void TstTradeCode::join()
{
    QFETCH(Fill, fill);
    QFETCH(QString, expected);
    TradeCode tables;
    for (const auto &[slot, buy, sell] : fill) {
        tables.buycodes[slot] = buy;
        tables.sellcodes[slot] = sell;
    }
    QCOMPARE(tables.codezusammenfügen(), expected);

    tables.clearJoinedSlots();
    QCOMPARE(tables.codezusammenfügen(), QString());
}

QTEST_GUILESS_MAIN(TstTradeCode)
#include "tst_tradecode.moc"
