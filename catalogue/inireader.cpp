// SPDX-License-Identifier: GPL-3.0-or-later
#include "inireader.h"
#include "initext.h"
#include "profilestream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ini {
namespace {

// Names and values are C strings to the callers of the reader: a NUL ends them.
std::string_view cutAtNul(std::string_view s)
{
    const void *nul = std::memchr(s.data(), '\0', s.size());
    return nul ? s.substr(0, static_cast<const char *>(nul) - s.data()) : s;
}

std::string_view unquote(std::string_view s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

inline char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names of one catalogue often share their start ("Item 12", "Item 13"): the last byte
    // tells most of them apart at once.
    if (!a.empty() && asciiLower(a.back()) != asciiLower(b.back()))
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// Walks the non-blank lines of a text held whole, each trimmed. CRLF, LF and a lone CR all end a
// line. Every line is there in full, so what a question needs of it does not matter here.
class Lines
{
public:
    explicit Lines(std::string_view text)
        : m_text(text)
        , m_pos(text.data())
        , m_end(text.data() + text.size())
    { }

    bool next(std::string_view &line, const LineNeeds & /*needs*/)
    {
        while (m_pos < m_end) {
            const char *start = m_pos;
            const char *stop = lineEnd(m_pos, m_end);
            m_pos = stop < m_end ? stop + 1 : m_end;
            if (stop < m_end && *stop == '\r' && m_pos < m_end && *m_pos == '\n')
                ++m_pos;
            line = trim(std::string_view(start, stop - start));
            if (!line.empty())
                return true;
        }
        return false;
    }

    bool mayHoldNul()
    {
        if (!m_nulSought) {
            m_holdsNul = m_text.find('\0') != std::string_view::npos;
            m_nulSought = true;
        }
        return m_holdsNul;
    }

private:
    std::string_view m_text;
    const char *m_pos;
    const char *m_end;
    bool m_nulSought = false;
    bool m_holdsNul = false;
};

// A trimmed line opens a section when it starts with "[" and holds a "]"; the name runs to the
// last "]", so "[a]b]" is the section "a]b" and "[ID] note" is "ID".
inline bool headerName(std::string_view line, std::string_view &name)
{
    if (line.front() != '[')
        return false;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(cutAtNul(line.substr(1, close - 1)));
    return true;
}

// A line is a key only when it holds "="; the first one splits, so a value may contain more.
// Only a text that holds a NUL at all needs its names searched for one.
inline bool splitKey(std::string_view line, bool textHoldsNul, std::string_view &name,
                     std::string_view &rawValue)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    name = line.substr(0, equals);
    name = trim(textHoldsNul ? cutAtNul(name) : name);
    rawValue = line.substr(equals + 1);
    return true;
}

// Whether a line that is no header holds the key named wanted (which holds no "="), and then
// what follows its first "=". Tested from the front of the line, so that the many lines of other
// names are passed over without being split.
inline bool isKeyNamed(std::string_view line, std::string_view wanted, std::string_view &rawValue)
{
    if (line.size() <= wanted.size()
        || !equalsIgnoringAsciiCase(line.substr(0, wanted.size()), wanted))
        return false;
    const std::string_view rest = line.substr(wanted.size());
    std::size_t i = 0;
    while (i < rest.size() && isBlank(rest[i]))
        ++i;
    // Past the name and its blanks must come its "=" or the NUL that cuts it short.
    if (i == rest.size() || (rest[i] != '=' && rest[i] != '\0'))
        return false;
    const std::size_t equals = rest.find('=', i);
    if (equals == std::string_view::npos)
        return false;
    rawValue = rest.substr(equals + 1);
    return true;
}

int placeText(std::string_view text, char *buffer, int size)
{
    if (size <= 0)
        return 0;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

int placeDefault(const char *defaultText, char *buffer, int size)
{
    const std::string_view text = defaultText ? defaultText : "";
    return placeText(unquote(trimRight(text)), buffer, size);
}

// Collects names, each followed by a NUL, as far as the buffer holds them, and closes the list
// the way the platform call does: one more NUL when it fits, else two NULs at the very end.
class NameList
{
public:
    NameList(char *buffer, int size)
        : m_buffer(buffer)
        , m_size(static_cast<std::size_t>(size))
        , m_room(size >= 2 ? static_cast<std::size_t>(size) - 2 : 0)
    { }

    void add(std::string_view name)
    {
        append(name.data(), name.size());
        if (m_length < m_room)
            m_buffer[m_length] = '\0';
        ++m_length;
    }

    // Once the list has outgrown the buffer, more names change nothing that the caller sees.
    bool full() const { return m_length + 2 > m_size; }

    // The characters of the next name that can still reach the buffer.
    std::size_t roomLeft() const { return m_length < m_room ? m_room - m_length : 0; }

    int finish(const char *defaultText)
    {
        if (m_length == 0)
            return placeDefault(defaultText, m_buffer, static_cast<int>(m_size));
        if (m_length + 2 <= m_size) {
            m_buffer[m_length] = '\0';
            return static_cast<int>(m_length);
        }
        // The last name placed was cut short; the caller sees two NULs after it.
        for (std::size_t i = m_room; i < m_size; ++i)
            m_buffer[i] = '\0';
        return static_cast<int>(m_room);
    }

private:
    void append(const char *data, std::size_t n)
    {
        if (m_length < m_room)
            std::memcpy(m_buffer + m_length, data, std::min(n, m_room - m_length));
        m_length += n;
    }

    char *m_buffer;
    std::size_t m_size;
    std::size_t m_room;
    std::size_t m_length = 0;
};

// UTF-16 arrives as UTF-8, the code page in which a Unicode catalogue is answered. A surrogate
// without its partner becomes U+FFFD so that the result stays valid UTF-8.
std::string utf16ToUtf8(std::string_view in, bool bigEndian)
{
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(in[i]);
        const auto b = static_cast<unsigned char>(in[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::string out;
    out.reserve(in.size());
    char utf8[4];
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xE000) {
            const bool paired = c < 0xDC00 && i + 3 < in.size() && unit(i + 2) >= 0xDC00
                    && unit(i + 2) < 0xE000;
            if (paired) {
                c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
                i += 2;
            } else {
                c = 0xFFFD;
            }
        }
        out.append(utf8, encodeUtf8(c, utf8));
    }
    return out;
}

bool startsWith(const std::string &s, std::string_view prefix)
{
    return s.size() >= prefix.size() && std::memcmp(s.data(), prefix.data(), prefix.size()) == 0;
}

// The four questions, asked alike of a text held whole and of a file walked through a window.
// Each tells the walk what it needs of a line, which only a line too long for the window uses.

template<class Lines>
int listSections(Lines &lines, const char *defaultText, char *buffer, int size)
{
    NameList sections(buffer, size);
    std::string_view line;
    std::string_view name;
    while (!sections.full() && lines.next(line, {LineNeeds::Kind::Header, sections.roomLeft()})) {
        if (headerName(line, name))
            sections.add(name);
    }
    return sections.finish(defaultText);
}

// Moves lines to just past the header of the first section named wanted. Keys before the first
// header belong to no section, and a later section of the same name is never reached.
template<class Lines>
bool findSection(Lines &lines, std::string_view wanted)
{
    std::string_view line;
    std::string_view name;
    while (lines.next(line, {LineNeeds::Kind::Header, wanted.size()})) {
        if (headerName(line, name) && equalsIgnoringAsciiCase(name, wanted))
            return true;
    }
    return false;
}

template<class Lines>
int listKeys(Lines &lines, const char *defaultText, char *buffer, int size)
{
    NameList keys(buffer, size);
    std::string_view line;
    std::string_view name;
    std::string_view rawValue;
    while (!keys.full() && lines.next(line, {LineNeeds::Kind::Key, keys.roomLeft()})
           && !headerName(line, name)) {
        // A ";" line is a comment to the key list, though a lookup can still reach it.
        if (line.front() != ';' && splitKey(line, lines.mayHoldNul(), name, rawValue))
            keys.add(name);
    }
    return keys.finish(defaultText);
}

template<class Lines>
int lookUp(Lines &lines, std::string_view wanted, const char *defaultText, char *buffer, int size)
{
    // No name holds "=", the byte that ends it.
    if (wanted.find('=') != std::string_view::npos)
        return placeDefault(defaultText, buffer, size);
    const LineNeeds needs{LineNeeds::Kind::Value, wanted.size(),
                          size > 0 ? static_cast<std::size_t>(size) - 1 : 0};
    std::string_view line;
    std::string_view name;
    std::string_view rawValue;
    while (lines.next(line, needs) && !headerName(line, name)) {
        if (isKeyNamed(line, wanted, rawValue))
            return placeText(unquote(trim(cutAtNul(rawValue))), buffer, size);
    }
    return placeDefault(defaultText, buffer, size);
}

template<class Lines>
int answer(Lines &lines, const char *section, const char *key, const char *defaultText,
           char *buffer, int size)
{
    if (!buffer || size < 0)
        size = 0;
    if (!section)
        return listSections(lines, defaultText, buffer, size);
    if (!findSection(lines, trim(section)))
        return placeDefault(defaultText, buffer, size);
    if (!key)
        return listKeys(lines, defaultText, buffer, size);
    return lookUp(lines, trim(key), defaultText, buffer, size);
}

} // namespace

ProfileText profileFromBytes(std::string bytes)
{
    ProfileText text;
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
        text.fromByteOrderMark = true;
    } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        bytes = utf16ToUtf8(std::string_view(bytes).substr(2), bytes[0] == '\xFE');
        text.fromByteOrderMark = true;
    }
    text.bytes = std::move(bytes);
    return text;
}

int getProfileString(const ProfileText &text, const char *section, const char *key,
                     const char *defaultText, char *buffer, int size)
{
    Lines lines(text.bytes);
    return answer(lines, section, key, defaultText, buffer, size);
}

int ProfileFile::getString(const char *section, const char *key, const char *defaultText,
                           char *buffer, int size, std::size_t window) const
{
    if (!buffer || size < 0)
        size = 0;
    TextReader reader(*this, window);
    WindowLines lines(reader, window);
    const int placed = answer(lines, section, key, defaultText, buffer, size);
    // A file that fails part-way cannot be read, like one that fails at once.
    return reader.failed() ? placeDefault(defaultText, buffer, size) : placed;
}

int getPrivateProfileString(const char *section, const char *key, const char *defaultText,
                            char *buffer, int size, const char *path)
{
    return ProfileFile(path).getString(section, key, defaultText, buffer, size);
}

} // namespace ini
