// SPDX-License-Identifier: GPL-3.0-or-later
#include "codereader.h"

#include "localenumber.h"
#include "tradecode.h"

#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct Entry
{
    qint16 id = 0;
    qint16 price = 0;
    bool buy = false;
};

// The 16-bit value of a number's text, read leniently: readEntry holds the text to what the
// entry builders write.
std::optional<qint16> int16Of(QStringView text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min()
        || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(value);
}

// One entry of the code, without the ";" that opens it. The id and the price are taken from
// where they stand (the id before the first "/", the price from the first "," to the next "."),
// and the entry counts only when buycode or sellcode writes exactly this text for them: so
// nothing is read that "Generate" would write differently, "+5", "05", "-0" or " 5" included.
std::optional<Entry> readEntry(QStringView text)
{
    const qsizetype slash = text.indexOf(u'/');
    const qsizetype comma = text.indexOf(u',');
    const qsizetype point = comma < 0 ? -1 : text.indexOf(u'.', comma);
    if (slash < 0 || point < 0)
        return std::nullopt;
    const std::optional<qint16> id = int16Of(text.first(slash));
    const std::optional<qint16> price = int16Of(text.sliced(comma + 1, point - comma - 1));
    if (!id || !price)
        return std::nullopt;
    const auto writes
            = [text](const QString &entry) { return QStringView(entry).sliced(1) == text; };
    if (writes(TradeCode::buycode(*id, *price)))
        return Entry{*id, *price, true};
    if (writes(TradeCode::sellcode(*id, *price)))
        return Entry{*id, *price, false};
    return std::nullopt;
}

// An entry as a message quotes it. A pasted text without any ";" is one entry and may be as long
// as a book, so a long one is cut short, never inside a character.
QString quoted(QStringView entry)
{
    constexpr qsizetype MaxQuoted = 40;
    if (entry.size() <= MaxQuoted)
        return u'"' + entry.toString() + u'"';
    qsizetype kept = MaxQuoted - 1;
    if (entry.at(kept - 1).isHighSurrogate())
        --kept;
    return u'"' + entry.first(kept).toString() + u"\u2026\""_s;
}

// How a row's kinds of entry differ from the first row's, in words; empty when they are alike.
QString differenceFrom(const CodeRow &first, const CodeRow &row)
{
    const auto compare = [](bool inFirst, bool inRow, QStringView kind) {
        if (inFirst && !inRow)
            return u"lacks the %1 entry that row 1 has"_s.arg(kind);
        if (!inFirst && inRow)
            return u"has a %1 entry that row 1 lacks"_s.arg(kind);
        return QString();
    };
    QString buy = compare(first.buyingPrice.has_value(), row.buyingPrice.has_value(), u"buy");
    if (!buy.isEmpty())
        return buy;
    return compare(first.sellingPrice.has_value(), row.sellingPrice.has_value(), u"sell");
}

CodeKinds kindsOf(const CodeRow &row)
{
    if (!row.sellingPrice)
        return CodeKinds::BuyOnly;
    return row.buyingPrice ? CodeKinds::BuyAndSell : CodeKinds::SellOnly;
}

} // namespace

CodeReading readTradeCode(QStringView text)
{
    const auto fail = [](qsizetype entry, const QString &fault) {
        CodeReading reading;
        reading.fault = fault;
        reading.faultEntry = entry;
        return reading;
    };

    const QStringView code = text.trimmed();
    if (code.isEmpty())
        return fail(0, u"The code is empty"_s);

    QList<Entry> entries;
    for (const QStringView piece : code.tokenize(u';')) {
        const qsizetype number = entries.size() + 1;
        if (piece.isEmpty())
            return fail(number, u"Entry %1 is empty"_s.arg(number));
        const std::optional<Entry> entry = readEntry(piece);
        if (!entry)
            return fail(number,
                        u"Entry %1 is not a trade entry: %2"_s.arg(QString::number(number),
                                                                   quoted(piece)));
        entries.append(*entry);
    }

    // The join writes each row's buy entry right before its sell entry, and a row's two entries
    // share the id: only such a pair is one row.
    QList<CodeRow> rows;
    QList<qsizetype> firstEntryOf; // of each row, counted from 1
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries.at(i);
        firstEntryOf.append(i + 1);
        CodeRow row{entry.id, {}, {}};
        (entry.buy ? row.buyingPrice : row.sellingPrice) = entry.price;
        const bool paired = entry.buy && i + 1 < entries.size() && !entries.at(i + 1).buy
                && entries.at(i + 1).id == entry.id;
        if (paired)
            row.sellingPrice = entries.at(++i).price;
        rows.append(row);
    }

    if (rows.size() > CodeReading::MaxRows)
        return fail(firstEntryOf.at(CodeReading::MaxRows),
                    u"%1 rows; at most %2 fit"_s.arg(rows.size()).arg(CodeReading::MaxRows));

    for (qsizetype k = 1; k < rows.size(); ++k) {
        const QString difference = differenceFrom(rows.constFirst(), rows.at(k));
        if (!difference.isEmpty())
            return fail(firstEntryOf.at(k),
                        u"Row %1 (entry %2) %3"_s.arg(QString::number(k + 1),
                                                      QString::number(firstEntryOf.at(k)),
                                                      difference));
    }
    CodeReading reading;
    reading.kinds = kindsOf(rows.constFirst());
    reading.rows = std::move(rows);
    return reading;
}

GenerateOptions CodeReading::options() const
{
    return {.buyingCode = hasBuyEntries(),
            .generatedBuyingPrice = false,
            .sellingCode = hasSellEntries()};
}

QList<TradeRowTexts> CodeReading::rowTexts() const
{
    const auto text
            = [](std::optional<qint16> value) { return value ? decimalForm(*value) : QString(); };
    QList<TradeRowTexts> texts;
    texts.reserve(rows.size());
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const CodeRow &row = rows.at(k);
        texts.append({.index = int(k),
                      .id = decimalForm(row.id),
                      .sellingPrice = text(row.sellingPrice),
                      .buyingPrice = text(row.buyingPrice),
                      .generatedBuyingPrice = {}});
    }
    return texts;
}
