// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QStringView>
#include <QtGlobal>

#include <optional>

class QString;

// Numbers as the user types and reads them: every function takes the locale whose conventions
// apply, so that the program can pass the user's and the tests can pin one.

// The whole text read as one finite number (surrounding blanks, sign, digits, group and decimal
// separators, exponent); nothing when it is empty, no number, too large for a double, or
// "inf"/"nan" and their kin. A number too small for a double reads as 0.
std::optional<double> readNumber(const QString &text, const QLocale &locale);

// The numeric test: readNumber succeeds.
bool isNumeric(const QString &text, const QLocale &locale);

// The integer conversion: readNumber, a fraction rounded half to even, then range-checked to
// -32768..32767.
std::optional<qint16> toInt16(const QString &text, const QLocale &locale);

// toInt16 for many texts in one locale, such as every id of a catalogue: a text of ASCII digits
// alone, as most ids are, is read without QLocale where the locale reads such digits as the
// number they write; any other text goes to toInt16. Either way the result is toInt16's.
class Int16Reader
{
public:
    explicit Int16Reader(const QLocale &locale);
    std::optional<qint16> operator()(QStringView text) const;

private:
    QLocale m_locale;
    bool m_readsAsciiDigits;
};

// A double as the user reads it: at most 15 significant digits, no group separators, ASCII
// digits, the locale's decimal separator, "-" for negatives; an exponent form ("1.5E+20",
// "1E-05") from 1E15 up and below 1E-4. readNumber in the same locale reads every such text back.
QString writeNumber(double value, const QLocale &locale);

// Plain decimal digits with a leading "-" for negatives, the same in every locale.
QString decimalForm(qint16 value);
