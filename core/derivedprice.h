// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

class QLocale;
class QString;

// The generated buying price for a selling price text at a percentage: the new text of the
// generated box, or nothing when the box is to be left as it is (a non-numeric text, or a
// result that is not a finite number).
std::optional<QString> derivedBuyingPrice(const QString &sellingPrice, qint16 percent,
                                          const QLocale &locale);
