// SPDX-License-Identifier: GPL-3.0-or-later
#include "localenumber.h"

#include <QLocale>
#include <QString>

#include <cmath>

std::optional<double> readNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // QLocale takes "inf" and "nan" as numbers; a price or an id never is one.
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
