#pragma once

#include <QList>
#include <QString>

class QLocale;
class TradeCode;

struct GenerateOptions
{
    bool buyingCode = true; // "Generate buying code"
    bool generatedBuyingPrice = true; // "Use generated buying price"
    bool sellingCode = true; // "Generate selling code"
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

    QString tradeCode; // empty on failure
    int failedRow = -1;
    Box failedBox = Box::None;
};

// Empties the tables, stores each row's entries in slot index + 1 and joins them. The first
// failure ends the run; entries already stored stay in the tables.
GenerateResult generateTradeCode(TradeCode &tables, const GenerateOptions &options,
                                 const QList<TradeRowTexts> &rows, const QLocale &locale);
