// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// The 8-bit code page in which the program reads one catalogue file. A file whose bytes are
// valid UTF-8 is UTF-8; any other was written by an 8-bit Windows program and is read as
// Windows-1252, whose five undefined bytes map to the C1 controls of the same number so that
// every byte survives a round trip through a QString.
namespace codepage {

enum class CodePage { Utf8, Windows1252 };

bool isAscii(const char *data, std::size_t size);
bool isValidUtf8(const char *data, std::size_t size);
CodePage detect(const char *data, std::size_t size);

QString decode(CodePage page, const char *data, qsizetype size);
// Characters that the code page cannot hold become "?", which no decoded name contains.
QByteArray encode(CodePage page, const QString &text);

} // namespace codepage
