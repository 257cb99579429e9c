// SPDX-License-Identifier: GPL-3.0-or-later
#include "tradecode.h"

#include "localenumber.h"

namespace {

QString entry(qint16 id, qint16 preis, QStringView tail)
{
    QString text = u';' + decimalForm(id);
    text += u"/1/0/,";
    text += decimalForm(preis);
    text += tail;
    return text;
}

} // namespace

QString TradeCode::sellcode(const qint16 &id, const qint16 &preis)
{
    return entry(id, preis, u".0,false,");
}

QString TradeCode::buycode(const qint16 &id, const qint16 &preis)
{
    return entry(id, preis, u".0,true,");
}

QString TradeCode::codezusammenfügen() const
{
    QString joined;
    for (int slot = FirstSlot; slot <= LastJoinedSlot; ++slot) {
        joined += buycodes[slot];
        joined += sellcodes[slot];
    }
    // Every entry opens with ";", so the code would start with a separator.
    if (!joined.isEmpty())
        joined.remove(0, 1);
    return joined;
}

void TradeCode::clearJoinedSlots()
{
    for (int slot = FirstSlot; slot <= LastJoinedSlot; ++slot) {
        buycodes[slot].clear();
        sellcodes[slot].clear();
    }
}
