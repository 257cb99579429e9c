// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of an INI text, the cuts of the answer's buffer, and the four questions that the
// reader answers with them. Each rule is written once, for any Text: a line that lies in the
// window (HeldText) and one that is read again from the file (LongLine) are asked alike.
#include "inireader.h"
#include "profilestream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace ini {
namespace {

// A line opens a section when it starts with "[" and holds a "]"; the name runs to the last "]",
// so "[a]b]" is the section "a]b" and "[ID] note" is "ID". Names are C strings to the callers of
// the reader: a NUL ends them.
template<class Text>
inline bool headerName(const Text &line, Part &name)
{
    if (line.front() != '[')
        return false;
    const std::size_t close = line.findLast(']', line.size());
    if (close == std::string_view::npos)
        return false;
    name = line.trimmed({1, line.cutAtNul({1, close})});
    return true;
}

// A line is a key only when it holds "="; the first one splits, so a value may contain more. The
// name is what stands before it, up to a NUL.
template<class Text>
inline bool keyName(const Text &line, Part &name, std::size_t &equals)
{
    equals = line.find('=', {0, line.size()});
    if (equals == line.size())
        return false;
    name = line.trimmed({0, line.cutAtNul({0, equals})});
    return true;
}

// Whether the line is the key named wanted, which is trimmed and holds neither "=" nor a NUL.
template<class Text>
inline bool isKeyNamed(const Text &line, std::string_view wanted, std::size_t &equals)
{
    // Most lines name another key: their first bytes tell so before the line is split.
    if (line.size() <= wanted.size() || !line.equalsIgnoringCase({0, wanted.size()}, wanted))
        return false;
    Part name;
    return keyName(line, name, equals) && name.size() == wanted.size();
}

// A value, or the caller's default, in matching quotes, single or double, loses them.
template<class Text>
inline Part unquoted(const Text &text, Part part)
{
    if (part.size() >= 2) {
        const char open = text[part.begin];
        if ((open == '"' || open == '\'') && text[part.end - 1] == open)
            return {part.begin + 1, part.end - 1};
    }
    return part;
}

// A key's value is what follows its "=", up to a NUL, trimmed and unquoted.
template<class Text>
inline Part value(const Text &line, std::size_t equals)
{
    return unquoted(line, line.trimmed({equals + 1, line.cutAtNul({equals + 1, line.size()})}));
}

// Places the text's part, cut to what the buffer holds before its NUL, then the NUL.
template<class Text>
int place(const Text &text, Part part, char *buffer, int size)
{
    if (size <= 0)
        return 0;
    part.end = std::min(part.end, part.begin + static_cast<std::size_t>(size) - 1);
    text.copy(part, buffer);
    buffer[part.size()] = '\0';
    return static_cast<int>(part.size());
}

// The default is placed without the blanks at its end and unquoted.
int placeDefault(const char *defaultText, char *buffer, int size)
{
    const HeldText text(defaultText ? defaultText : "");
    return place(text, unquoted(text, text.trimmedRight({0, text.size()})), buffer, size);
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

    template<class Text>
    void add(const Text &line, Part name)
    {
        if (m_length < m_room) {
            line.copy({name.begin, name.begin + std::min(name.size(), m_room - m_length)},
                      m_buffer + m_length);
            if (m_length + name.size() < m_room)
                m_buffer[m_length + name.size()] = '\0';
        }
        m_length += name.size() + 1;
    }

    // Once the list has outgrown the buffer, more names change nothing that the caller sees.
    bool full() const { return m_length + 2 > m_size; }

    int finish(const char *defaultText)
    {
        if (m_length == 0)
            return placeDefault(defaultText, m_buffer, static_cast<int>(m_size));
        if (m_length + 2 <= m_size) {
            m_buffer[m_length] = '\0';
            return static_cast<int>(m_length);
        }
        // The last name placed was cut short; the caller sees two NULs after it.
        std::fill(m_buffer + m_room, m_buffer + m_size, '\0');
        return static_cast<int>(m_room);
    }

private:
    char *m_buffer;
    std::size_t m_size;
    std::size_t m_room;
    std::size_t m_length = 0;
};

// The key list that no buffer cuts. Only a list past the room of the largest buffer that a caller
// can pass ends early, after the last name that such a buffer holds whole.
class WholeList
{
public:
    // firstRoom: the bytes to take when the first name comes, which the names will likely fill.
    WholeList(KeyList &list, std::size_t firstRoom)
        : m_list(list)
        , m_firstRoom(std::max<std::size_t>(firstRoom, 1))
    { }

    template<class Text>
    void add(const Text &line, Part name)
    {
        const std::size_t end = m_list.size + name.size();
        if (end >= m_capacity && !grow(end + 1)) {
            m_full = true;
            return;
        }
        line.copy(name, m_list.names.get() + m_list.size);
        m_list.names[end] = '\0';
        m_list.ends.push_back(static_cast<int>(end));
        m_list.size = end + 1;
    }

    bool full() const { return m_full; }

private:
    static constexpr std::size_t LargestRoom = INT_MAX - 2;

    // Makes room for at least `needed` bytes; false where the largest buffer has none.
    bool grow(std::size_t needed)
    {
        if (needed > LargestRoom)
            return false;
        if (m_capacity == 0) {
            // A key line takes 16 bytes or more in most catalogues.
            m_list.ends.reserve(m_firstRoom / 16);
        }
        const std::size_t capacity = std::min(
                std::max(m_capacity == 0 ? m_firstRoom : 2 * m_capacity, needed), LargestRoom);
        std::unique_ptr<char[]> grown(new char[capacity]);
        if (m_list.size > 0)
            std::memcpy(grown.get(), m_list.names.get(), m_list.size);
        m_list.names = std::move(grown);
        m_capacity = capacity;
        return true;
    }

    KeyList &m_list;
    std::size_t m_firstRoom;
    std::size_t m_capacity = 0;
    bool m_full = false;
};

int listSections(WindowLines &lines, const char *defaultText, char *buffer, int size)
{
    NameList sections(buffer, size);
    Line line;
    while (!sections.full() && lines.next(line)) {
        line.visit([&](const auto &text) {
            Part name;
            if (headerName(text, name))
                sections.add(text, name);
        });
    }
    return sections.finish(defaultText);
}

// Moves lines to just past the header of the first section named wanted. Keys before the first
// header belong to no section, and a later section of the same name is never reached.
bool findSection(WindowLines &lines, std::string_view wanted)
{
    Line line;
    while (lines.next(line)) {
        const bool found = line.visit([&](const auto &text) {
            Part name;
            return headerName(text, name) && text.equalsIgnoringCase(name, wanted);
        });
        if (found)
            return true;
    }
    return false;
}

// Adds the names of the keys up to the next header, in file order.
template<class Names>
void listKeys(WindowLines &lines, Names &keys)
{
    Line line;
    bool sectionEnds = false;
    while (!sectionEnds && !keys.full() && lines.next(line)) {
        sectionEnds = line.visit([&](const auto &text) {
            Part name;
            std::size_t equals = 0;
            if (headerName(text, name))
                return true;
            // A ";" line is a comment to the key list, though a lookup can still reach it.
            if (text.front() != ';' && keyName(text, name, equals))
                keys.add(text, name);
            return false;
        });
    }
}

int lookUp(WindowLines &lines, std::string_view wanted, const char *defaultText, char *buffer,
           int size)
{
    // No name holds "=", the byte that ends it.
    if (wanted.find('=') != std::string_view::npos)
        return placeDefault(defaultText, buffer, size);
    Line line;
    while (lines.next(line)) {
        // The value once the key is found, the default once the section ends.
        const std::optional<int> placed = line.visit([&](const auto &text) -> std::optional<int> {
            Part name;
            std::size_t equals = 0;
            if (headerName(text, name))
                return placeDefault(defaultText, buffer, size);
            if (isKeyNamed(text, wanted, equals))
                return place(text, value(text, equals), buffer, size);
            return std::nullopt;
        });
        if (placed)
            return *placed;
    }
    return placeDefault(defaultText, buffer, size);
}

int answer(WindowLines &lines, const char *section, const char *key, const char *defaultText,
           char *buffer, int size)
{
    if (!section)
        return listSections(lines, defaultText, buffer, size);
    if (!findSection(lines, trim(section)))
        return placeDefault(defaultText, buffer, size);
    if (key)
        return lookUp(lines, trim(key), defaultText, buffer, size);
    NameList keys(buffer, size);
    listKeys(lines, keys);
    return keys.finish(defaultText);
}

} // namespace

int ProfileFile::getString(const char *section, const char *key, const char *defaultText,
                           char *buffer, int size, std::size_t window) const
{
    if (!buffer || size < 0)
        size = 0;
    WindowLines lines(*this, window);
    const int placed = answer(lines, section, key, defaultText, buffer, size);
    // A file that fails part-way cannot be read, like one that fails at once.
    return lines.failed() ? placeDefault(defaultText, buffer, size) : placed;
}

KeyList ProfileFile::keyList(const char *section, std::size_t window) const
{
    // The names take no more bytes than the lines that hold them, but for some of a UTF-16 file,
    // which grow as they are decoded: the file's size is room enough for most lists at once, up
    // to a size worth taking before the list is seen.
    constexpr long long LargestFirstRoom = 16LL << 20;
    KeyList list;
    WholeList keys(list, static_cast<std::size_t>(std::min(m_system.size(), LargestFirstRoom)));
    WindowLines lines(*this, window);
    if (findSection(lines, trim(section)))
        listKeys(lines, keys);
    return lines.failed() ? KeyList() : std::move(list);
}

int getPrivateProfileString(const char *section, const char *key, const char *defaultText,
                            char *buffer, int size, const char *path)
{
    return ProfileFile(path).getString(section, key, defaultText, buffer, size);
}

} // namespace ini
