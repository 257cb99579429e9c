// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the trade code reader arbitrary text, as a clipboard or the output box might hold it:
// the input's bytes read as UTF-8 and again as Latin-1. Whatever the text, the reader must give
// either rows that "Generate" turns back into the same code, blanks around it aside, or one fault
// of bounded length that names an entry of the text.

#include "codereader.h"
#include "generate.h"
#include "tradecode.h"

#include <QLocale>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, qPrintable(text));
    std::abort();
}

void check(const QString &text)
{
    const CodeReading reading = readTradeCode(text);
    if (!reading.ok()) {
        if (!reading.rows.isEmpty())
            fail("rows given with a fault", text);
        // A message quotes at most a short piece of the text, however long the text is.
        if (reading.fault.size() > 200)
            fail("fault message too long", reading.fault);
        if (reading.faultEntry < 0 || reading.faultEntry > text.count(u';') + 1)
            fail("fault names an entry the text does not have", text);
        return;
    }
    if (reading.rows.isEmpty() || reading.rows.size() > CodeReading::MaxRows)
        fail("read a number of rows that no window holds", text);
    for (const CodeRow &row : reading.rows) {
        if (row.buyingPrice.has_value() != reading.hasBuyEntries()
            || row.sellingPrice.has_value() != reading.hasSellEntries())
            fail("a row's entries differ from the code's kinds", text);
    }
    static TradeCode tables;
    const GenerateResult again
            = generateTradeCode(tables, reading.options(), reading.rowTexts(), QLocale::c());
    if (!again.ok() || again.tradeCode != text.trimmed())
        fail("an accepted code does not come back from Generate", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length)
{
    const auto *bytes = reinterpret_cast<const char *>(data);
    const auto size = static_cast<qsizetype>(length);
    check(QString::fromUtf8(bytes, size));
    check(QString::fromLatin1(bytes, size));
    return 0;
}
