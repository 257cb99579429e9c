// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

// The two entry tables and the entries that the trade code is joined from.
class TradeCode
{
public:
    static constexpr int FirstSlot = 1;
    static constexpr int LastSlot = 1000;
    static constexpr int LastJoinedSlot = 999;

    static QString sellcode(const qint16 &id, const qint16 &preis);
    static QString buycode(const qint16 &id, const qint16 &preis);
    QString codezusammenfügen() const;

    // Empties slots 1..999 of both tables; slot 1000 is never written, so never emptied.
    void clearJoinedSlots();

    // Slots 1..1000; element 0 is never used, so that slot s is buycodes[s].
    std::array<QString, LastSlot + 1> buycodes;
    std::array<QString, LastSlot + 1> sellcodes;
};
