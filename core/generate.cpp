// SPDX-License-Identifier: GPL-3.0-or-later
#include "generate.h"

#include "localenumber.h"
#include "tradecode.h"

#include <QLocale>

GenerateResult generateTradeCode(TradeCode &tables, const GenerateOptions &options,
                                 const QList<TradeRowTexts> &rows, const QLocale &locale)
{
    using Box = GenerateResult::Box;
    GenerateResult result;
    tables.clearJoinedSlots();

    for (const TradeRowTexts &row : rows) {
        const auto fail = [&](Box box) {
            result.failedRow = row.index;
            result.failedBox = box;
            return result;
        };
        // Wide enough that no index overflows on its way to a slot number.
        const qint64 slot = qint64(row.index) + 1;
        const bool slotExists = slot >= TradeCode::FirstSlot && slot <= TradeCode::LastSlot;

        if (options.buyingCode) {
            const std::optional<qint16> id = toInt16(row.id, locale);
            if (!id)
                return fail(Box::Id);
            const bool generated = options.generatedBuyingPrice;
            const std::optional<qint16> preis
                    = toInt16(generated ? row.generatedBuyingPrice : row.buyingPrice, locale);
            if (!preis)
                return fail(generated ? Box::GeneratedBuyingPrice : Box::BuyingPrice);
            if (!slotExists)
                return fail(Box::Slot);
            tables.buycodes[slot] = TradeCode::buycode(*id, *preis);
        }
        if (options.sellingCode) {
            const std::optional<qint16> id = toInt16(row.id, locale);
            if (!id)
                return fail(Box::Id);
            const std::optional<qint16> preis = toInt16(row.sellingPrice, locale);
            if (!preis)
                return fail(Box::SellingPrice);
            if (!slotExists)
                return fail(Box::Slot);
            tables.sellcodes[slot] = TradeCode::sellcode(*id, *preis);
        }
    }
    result.tradeCode = tables.codezusammenfügen();
    return result;
}
