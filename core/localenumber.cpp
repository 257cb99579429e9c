// SPDX-License-Identifier: GPL-3.0-or-later
#include "localenumber.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <limits>

namespace {

// QLocale refuses a number too small for a double ("1e-400") as if it were no number, with 0 as
// its result, just as it refuses junk. The two differ in the digits alone: the same text with
// every non-zero digit made a zero of its own script stays well formed only if it was.
bool underflowsToZero(const QString &text, const QLocale &locale)
{
    const QList<uint> zero = locale.zeroDigit().toUcs4();
    const char32_t localZero = zero.isEmpty() ? U'0' : char32_t(zero.front());
    QString zeroed;
    zeroed.reserve(text.size());
    for (const uint c : text.toUcs4()) {
        auto digit = char32_t(c);
        if (digit > U'0' && digit <= U'9')
            digit = U'0';
        else if (digit > localZero && digit <= localZero + 9)
            digit = localZero;
        zeroed.append(QChar::fromUcs4(digit));
    }
    bool ok = false;
    locale.toDouble(zeroed, &ok);
    return ok;
}

} // namespace

std::optional<double> readNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // QLocale takes "inf" and "nan" as numbers; a price or an id never is one. A number too
    // large for a double comes back infinite and stays refused.
    if (!ok && std::isfinite(value) && underflowsToZero(text, locale))
        return 0.0;
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isNumeric(const QString &text, const QLocale &locale)
{
    return readNumber(text, locale).has_value();
}

std::optional<qint16> toInt16(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = readNumber(text, locale);
    if (!value)
        return std::nullopt;
    // Halves go to the even neighbour whatever the floating-point rounding mode is. The
    // difference to the floor is exact for every double, so the comparison with 0.5 is too.
    const double floor = std::floor(*value);
    const double fraction = *value - floor;
    double rounded = fraction < 0.5 ? floor : floor + 1;
    if (fraction == 0.5 && std::fmod(floor, 2.0) == 0)
        rounded = floor;
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

Int16Reader::Int16Reader(const QLocale &locale)
    : m_locale(locale)
    , m_readsAsciiDigits(readNumber(QStringLiteral("0123456789"), locale) == 123456789.0)
{ }

std::optional<qint16> Int16Reader::operator()(QStringView text) const
{
    if (m_readsAsciiDigits && !text.isEmpty()) {
        constexpr int Largest = std::numeric_limits<qint16>::max();
        int value = 0;
        bool digits = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            // Digits only add: past the largest the value stays out of range, however long the
            // text ("40000e-1" still goes to the locale, as its "e" shows).
            if (value <= Largest)
                value = 10 * value + (c.unicode() - u'0');
        }
        if (digits)
            return value <= Largest ? std::optional<qint16>(qint16(value)) : std::nullopt;
    }
    return toInt16(text.toString(), m_locale);
}

QString writeNumber(double value, const QLocale &locale)
{
    // The largest 15-digit decimal below the largest double: anything above would be written
    // as a number too large to read back.
    constexpr double largestWritable = 1.79769313486231e308;
    if (std::abs(value) > largestWritable)
        value = std::copysign(largestWritable, value);

    // Plain notation from 1E-4 up to below 1E15, else the mantissa, "E", a sign and at least
    // two exponent digits ("1.5E+20", "1E-05"). Digits, "-" and "E" are ASCII in every locale,
    // only the decimal separator is the locale's: every locale reads that form back, while
    // some write their own signs and exponents in a form that they cannot read.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = c.toString(value, 'G', 15);
    text.replace(u'.', locale.decimalPoint());
    return text;
}

QString decimalForm(qint16 value)
{
    return QString::number(value);
}
