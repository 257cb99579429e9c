// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilestream.h"
#include "widename.h"

#include <cstdint>

namespace ini {
namespace {

static_assert(sizeof(wchar_t) == 2, "Windows' wide characters are UTF-16 code units");

bool isHighSurrogate(std::uint32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The length of the sequence that lead starts, or 0 when no sequence starts with it.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

} // namespace

std::string wtf8FromWide(std::wstring_view name)
{
    std::string bytes;
    bytes.reserve(name.size());
    char encoded[4];
    for (std::size_t i = 0; i < name.size(); ++i) {
        std::uint32_t c = name[i];
        if (isHighSurrogate(c) && i + 1 < name.size() && isLowSurrogate(name[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10U) + (name[++i] - 0xDC00U);
        bytes.append(encoded, encodeUtf8(c, encoded));
    }
    return bytes;
}

std::optional<std::wstring> wideFromWtf8(std::string_view bytes)
{
    // The smallest code point of each sequence length: anything below is overlong.
    constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring name;
    name.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || bytes.size() - i < length)
            return std::nullopt;
        std::uint32_t c = length == 1 ? lead : lead & (0x7FU >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0U) != 0x80)
                return std::nullopt;
            c = c << 6U | (next & 0x3FU);
        }
        if (c < least[length] || c > 0x10FFFF)
            return std::nullopt;
        // A high surrogate before a low one is a pair, which has its own four-byte form.
        if (isLowSurrogate(c) && !name.empty() && isHighSurrogate(name.back()))
            return std::nullopt;
        if (c >= 0x10000) {
            name += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10U));
            name += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FFU));
        } else {
            name += static_cast<wchar_t>(c);
        }
        i += length;
    }
    return name;
}

} // namespace ini
