// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows names files in UTF-16, where a surrogate may stand without its partner; the reader takes
// a file name as bytes. WTF-8 carries every such name there and back unchanged: it is UTF-8, in
// which a surrogate without its partner is encoded like any other code point.
namespace ini {

std::string wtf8FromWide(std::wstring_view name);
// Nothing for bytes that are no WTF-8, which no name gives: overlong or cut-off sequences, stray
// bytes, code points past U+10FFFF, or a surrogate pair encoded as two halves.
std::optional<std::wstring> wideFromWtf8(std::string_view bytes);

} // namespace ini
