// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QLocale;
class TradeCode;

struct GenerateOptions
{
    bool buyingCode = true;           // "Generate buying code"
    bool generatedBuyingPrice = true; // "Use generated buying price"
    bool sellingCode = true;          // "Generate selling code"
};

// The texts of one trade row as the window holds them.
struct TradeRowTexts
{
    int index = 0;
    QString id;
    QString sellingPrice;
    QString buyingPrice;
    QString generatedBuyingPrice;
};

struct GenerateResult
{
    enum class Box { None, Id, SellingPrice, BuyingPrice, GeneratedBuyingPrice, Slot };

    bool ok() const { return failedBox == Box::None; }

    QString tradeCode;  // empty on failure
    int failedRow = -1; // the index of the failed row
    Box failedBox = Box::None;
};

// Empties slots 1..999, stores each row's entries in slot index + 1 and joins them. Only the
// boxes that the options name are read, so the others may hold anything. The first failure (a
// box that gives no 16-bit integer, a slot outside 1..1000) ends the run; entries already
// stored stay in the tables.
GenerateResult generateTradeCode(TradeCode &tables, const GenerateOptions &options,
                                 const QList<TradeRowTexts> &rows, const QLocale &locale);
