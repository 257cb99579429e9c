#include "derivedprice.h"
#include "localenumber.h"

#include <QLocale>
#include <QTest>

#include <cfloat>
#include <cmath>

using namespace Qt::StringLiterals;

class TstLocaleNumber : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void derivedPrice_data();
    void derivedPrice();
};

static const QString us = u"en_US"_s, de = u"de_DE"_s, fr = u"fr_FR"_s;

static QTestData &row(const char *name, const QString &locale, const QVariant &input)
{
    return QTest::newRow(name) << locale << input;
}

void TstLocaleNumber::reading_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<QVariant>("int16"); // invalid when the integer conversion fails

    const QVariant fails;
    row("half to even, down", us, u"12.5"_s) << true << QVariant(12);
    row("half to even, up", us, u"13.5"_s) << true << QVariant(14);
    row("negative half to even", us, u"-2.5"_s) << true << QVariant(-2);
    row("negative half, even away", us, u"-3.5"_s) << true << QVariant(-4);
    row("above half", us, u"9.995"_s) << true << QVariant(10);
    row("largest", us, u"32767"_s) << true << QVariant(32767);
    row("smallest", us, u"-32768"_s) << true << QVariant(-32768);
    row("half above largest rounds out", us, u"32767.5"_s) << true << fails;
    row("half below smallest rounds in", us, u"-32768.5"_s) << true << QVariant(-32768);
    row("one above largest", us, u"32768"_s) << true << fails;
    row("far out of range", us, u"1e300"_s) << true << fails;
    row("double overflow", us, u"1e400"_s) << false << fails;
    row("empty", us, QString()) << false << fails;
    row("blanks only", us, u"  "_s) << false << fails;
    row("initial ID box", us, u"ID"_s) << false << fails;
    row("inf", us, u"-inf"_s) << false << fails;
    row("nan", us, u"NaN"_s) << false << fails;
    row("surrounding blanks, leading zeros", us, u" 007 "_s) << true << QVariant(7);
    row("group separator", us, u"1,234"_s) << true << QVariant(1234);
    row("misplaced group separator", us, u"1,5"_s) << false << fails;
    row("exponent", us, u"1.5E+3"_s) << true << QVariant(1500);
    row("de decimal comma, group full stop", de, u"1.234,5"_s) << true << QVariant(1234);
    row("de exponent", de, u"1,5E+3"_s) << true << QVariant(1500);
    row("de rejects full stop fraction", de, u"12.5"_s) << false << fails;
    row("fr narrow no-break space group", fr, u"1\u202F234"_s) << true << QVariant(1234);
    row("fr plain space group", fr, u"1 234"_s) << true << QVariant(1234);
    row("fr decimal comma", fr, u"13,5"_s) << true << QVariant(14);
    row("C full stop, group comma", u"C"_s, u"1,234.5"_s) << true << QVariant(1234);
    row("C rejects decimal comma", u"C"_s, u"12,5"_s) << false << fails;
}

void TstLocaleNumber::reading()
{
    QFETCH(QString, locale);
    QFETCH(QVariant, text);
    QFETCH(bool, numeric);
    QFETCH(QVariant, int16);
    const QLocale loc(locale);
    QCOMPARE(isNumeric(text.toString(), loc), numeric);
    const std::optional<qint16> value = toInt16(text.toString(), loc);
    QCOMPARE(value.has_value(), int16.isValid());
    if (value)
        QCOMPARE(int(*value), int16.toInt());
}

void TstLocaleNumber::writing_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    row("error below 15 digits hidden", us, (7.0 / 100) * 100) << u"7"_s;
    row("fraction kept", us, (7.0 / 100) * 80) << u"5.6"_s;
    row("rounded to 15 digits", us, 1.0 / 3) << u"0.333333333333333"_s;
    row("no group separator", us, 1234.5) << u"1234.5"_s;
    row("negative zero", us, -0.0) << u"0"_s;
    row("largest plain", us, 123456789012345.0) << u"123456789012345"_s;
    row("exponent from 1E15", us, 1e15) << u"1E+15"_s;
    row("smallest plain", us, 0.0001) << u"0.0001"_s;
    row("exponent below 1E-4", us, 1e-5) << u"1E-05"_s;
    row("largest double stays readable", us, DBL_MAX) << u"1.79769313486231E+308"_s;
    row("de", de, -1.5e-7) << u"-1,5E-07"_s;
    row("fr", fr, 1234.5) << u"1234,5"_s;
    row("C", u"C"_s, 1.5e20) << u"1.5E+20"_s;
    // Locales whose own forms of signs and exponents QLocale cannot read back.
    row("sv hyphen minus", u"sv_SE"_s, -12.5) << u"-12,5"_s;
    row("sv exponent", u"sv_SE"_s, 1.5e20) << u"1,5E+20"_s;
    row("ar digits and sign", u"ar_EG"_s, -12.5) << u"-12\u066B5"_s;
}

void TstLocaleNumber::writing()
{
    QFETCH(QString, locale);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    const QLocale loc(locale);
    const double v = value.toDouble();
    QCOMPARE(writeNumber(v, loc), expected);

    const std::optional<double> back = readNumber(expected, loc);
    QVERIFY(back.has_value());
    QVERIFY(std::abs(*back - v) <= std::abs(v) * 1e-14);
}

// What the table expects when the generated box is to keep its text.
static const QString leave = u"(left as it is)"_s;

void TstLocaleNumber::derivedPrice_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("selling");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("expected");

    row("half", us, u"250"_s) << 50 << u"125"_s;
    row("half with fraction", us, u"25"_s) << 50 << u"12.5"_s;
    row("whole price", us, u"7"_s) << 100 << u"7"_s;
    row("eighty percent", us, u"7"_s) << 80 << u"5.6"_s;
    row("cents", us, u"19.99"_s) << 50 << u"9.995"_s;
    row("negative price", us, u"-10"_s) << 50 << u"-5"_s;
    row("zero percent", us, u"250"_s) << 0 << u"0"_s;
    row("negative price at zero percent", us, u"-10"_s) << 0 << u"0"_s;
    row("divided before multiplied", us, u"1e308"_s) << 150 << u"1.5E+308"_s;
    row("empty box", us, QString()) << 50 << leave;
    row("prompt", us, u"Enter sellingprice here"_s) << 50 << leave;
    row("inf", us, u"inf"_s) << 50 << leave;
    row("overflow", us, u"1.7e308"_s) << 200 << leave;
    row("de comma both ways", de, u"19,99"_s) << 50 << u"9,995"_s;
    row("fr narrow no-break space", fr, u"1\u202F000,5"_s) << 100 << u"1000,5"_s;
}

void TstLocaleNumber::derivedPrice()
{
    QFETCH(QString, locale);
    QFETCH(QVariant, selling);
    QFETCH(int, percent);
    QFETCH(QString, expected);
    const QLocale loc(locale);
    QCOMPARE(derivedBuyingPrice(selling.toString(), qint16(percent), loc).value_or(leave),
             expected);
}

QTEST_GUILESS_MAIN(TstLocaleNumber)
#include "tst_localenumber.moc"
