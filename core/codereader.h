// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "generate.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Reading a trade code back into rows: the way back in from a code kept elsewhere.
//
// Only a code that "Generate" could have written is read: blanks and line breaks around it
// aside, every code read here gives the same text back from "Generate", byte for byte, under
// the options and row texts that the reading gives (options(), rowTexts()). Entries pair into
// rows the way the join made them: a buy entry followed by a sell entry with the same id is one
// row, every other entry is a row of its own.
//
// Anything else is a fault, and the first one is reported. "First" is the order in which a
// reader checks a code by eye, each step over the whole code before the next:
//   1. the text is empty, or only blanks;
//   2. the entries, from the first on: an empty entry, or one that is not a trade entry;
//   3. the number of rows, which only a code of well-formed entries has;
//   4. the kinds of entry, row by row from the second on, against the first row.
// Rows and entries are counted from 1, as the user counts them.

enum class CodeKinds { BuyAndSell, BuyOnly, SellOnly };

struct CodeRow
{
    qint16 id = 0;
    std::optional<qint16> buyingPrice;  // the price of the row's buy entry, if it has one
    std::optional<qint16> sellingPrice; // the price of the row's sell entry, if it has one
};

struct CodeReading
{
    static constexpr int MaxRows = 14;

    bool ok() const { return fault.isEmpty(); }
    bool hasBuyEntries() const { return kinds != CodeKinds::SellOnly; }
    bool hasSellEntries() const { return kinds != CodeKinds::BuyOnly; }

    // The options under which "Generate" writes the code again from rowTexts(): the codes that
    // the kinds call for, and "Use generated buying price" unticked, so that the buying prices
    // read are the ones that count.
    GenerateOptions options() const;
    // Each row's id and prices in decimal form; a price the row has no entry for is a null text.
    QList<TradeRowTexts> rowTexts() const;

    QList<CodeRow> rows; // 1 to MaxRows rows; none after a fault
    CodeKinds kinds = CodeKinds::BuyAndSell;

    // The first fault in the user's terms, plain text that may quote the user's own text; empty
    // when the code was read.
    QString fault;
    qsizetype faultEntry = 0; // the number of the entry at fault; 0 when the code is empty
};

CodeReading readTradeCode(QStringView text);
