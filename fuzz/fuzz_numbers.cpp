// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text, as a user might type or paste it, through the number conversions in
// four locales. The conversions must agree with each other and every price they write must
// read back as a number.
//
// An input is the text; its last two bytes are the percentage (-32768 plus their value, the
// last byte the high one), as in the seeds in corpus/numbers.

#include "derivedprice.h"
#include "localenumber.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text, const QLocale &locale)
{
    std::fprintf(stderr, "%s: \"%s\" in %s\n", what, qPrintable(text), qPrintable(locale.name()));
    std::abort();
}

// Written numbers carry at most 15 significant digits.
bool nearlyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-13 * std::max(std::abs(a), std::abs(b));
}

void check(const QString &text, qint16 percent, const QLocale &locale)
{
    const std::optional<double> number = readNumber(text, locale);
    if (isNumeric(text, locale) != number.has_value())
        fail("numeric test disagrees with reading", text, locale);
    if (number && !std::isfinite(*number))
        fail("read a non-finite number", text, locale);

    // The integer conversion rounds half to even (the default rounding mode), then range-checks.
    const std::optional<qint16> integer = toInt16(text, locale);
    const double rounded = number ? std::nearbyint(*number) : 0.0;
    const bool fits = number && rounded >= -32768.0 && rounded <= 32767.0;
    if (integer.has_value() != fits)
        fail("integer conversion accepts what it should not, or refuses what it should take", text,
             locale);
    if (integer && *integer != static_cast<qint16>(rounded))
        fail("integer conversion rounds wrongly", text, locale);

    if (number) {
        const QString written = writeNumber(*number, locale);
        const std::optional<double> reread = readNumber(written, locale);
        if (!reread || !nearlyEqual(*reread, *number))
            fail("a written number does not read back", text, locale);
    }

    const std::optional<QString> derived = derivedBuyingPrice(text, percent, locale);
    if (!number) {
        if (derived)
            fail("derived a price from a text that is no number", text, locale);
        return;
    }
    const double expected = (*number / 100) * percent;
    if (std::isfinite(expected) != derived.has_value())
        fail("derived price missing for a finite result, or given for an infinite one", text,
             locale);
    if (derived) {
        const std::optional<double> reread = readNumber(*derived, locale);
        if (!reread || !isNumeric(*derived, locale))
            fail("a derived price does not read back as a number", *derived, locale);
        if (!nearlyEqual(*reread, expected))
            fail("a derived price reads back as another number", *derived, locale);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length)
{
    static const std::array<QLocale, 4> locales
            = {QLocale(u"en_US"), QLocale(u"de_DE"), QLocale(u"fr_FR"), QLocale::c()};
    FuzzedDataProvider input(data, length);
    const auto percent = input.ConsumeIntegral<qint16>();
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (const QLocale &locale : locales)
        check(text, percent, locale);
    return 0;
}
