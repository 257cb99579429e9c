// SPDX-License-Identifier: GPL-3.0-or-later
#include "derivedprice.h"

#include "localenumber.h"

#include <QLocale>
#include <QString>

#include <cmath>

std::optional<QString> derivedBuyingPrice(const QString &sellingPrice, qint16 percent,
                                          const QLocale &locale)
{
    const std::optional<double> x = readNumber(sellingPrice, locale);
    if (!x)
        return std::nullopt;
    // Divided first, then multiplied: the order decides the last bit, and so the text shown.
    const double r = (*x / 100) * percent;
    // Only a selling price near the largest double, at more than 100 %, gets here.
    if (!std::isfinite(r))
        return std::nullopt;
    return writeNumber(r, locale);
}
