// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"
#include "codepage.h"
#include "profilestream.h"
#include "programfolder.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int bufferSize = 32767;

bool isAscii(const QString &text)
{
    return std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x80; });
}

// A catalogue file opened for the reads of one question. Its code page is worked out only when a
// text outside ASCII needs it: ASCII reads and writes the same in both, and most lookups never
// touch anything else.
class CatalogueFile
{
public:
    // A name that no file can have opens none: the catalogue is then empty.
    explicit CatalogueFile(const QString &name)
        : m_file(fileNameToBytes(name).value_or(QByteArray()).constData())
    { }

    QByteArray encode(const QString &text)
    {
        return isAscii(text) ? text.toLatin1() : codepage::encode(page(), text);
    }

    QString decode(const char *bytes, int size)
    {
        return codepage::isAscii(bytes, static_cast<std::size_t>(size))
                ? QString::fromLatin1(bytes, size)
                : codepage::decode(page(), bytes, size);
    }

    // One call of the reader; a null key asks for the key list.
    int read(const QByteArray &section, const QByteArray &key, char *buffer, int size) const
    {
        return m_file.getString(section.constData(), key.isNull() ? nullptr : key.constData(), "",
                                buffer, size);
    }

private:
    codepage::CodePage page()
    {
        if (!m_page) {
            codepage::Utf8Validator text;
            m_file.scan([&text](std::string_view piece) {
                text.add(piece.data(), piece.size());
                return !text.broken();
            });
            m_page = text.valid() ? codepage::CodePage::Utf8 : codepage::CodePage::Windows1252;
        }
        return *m_page;
    }

    ini::ProfileFile m_file;
    std::optional<codepage::CodePage> m_page;
};

} // namespace

QString ReadIni(const QString &file, const QString &section, const QString &key)
{
    // Fresh NULs on every call; on the stack, since a heap block of this size costs more to
    // map and hand back than the whole lookup.
    char buffer[bufferSize] = {};
    CatalogueFile catalogue(file);
    const QByteArray sectionBytes = catalogue.encode(section);
    const QByteArray keyBytes = key.isNull() ? QByteArray() : catalogue.encode(key);
    const int placed = catalogue.read(sectionBytes, keyBytes, buffer, bufferSize);
    return catalogue.decode(buffer, placed);
}

QString wholeKeyList(const QString &file, const QString &section)
{
    constexpr int largestSize = std::numeric_limits<int>::max();
    CatalogueFile catalogue(file);
    const QByteArray sectionBytes = catalogue.encode(section);
    std::vector<char> buffer(bufferSize);
    int size = bufferSize;
    int placed = catalogue.read(sectionBytes, QByteArray(), buffer.data(), size);
    // The reader gives size - 2 both for a list it cut and for one that fills the buffer exactly;
    // only a larger buffer tells them apart. Each try walks the file anew, the one opened.
    while (placed == size - 2 && size < largestSize) {
        size = size <= largestSize / 2 ? size * 2 : largestSize;
        buffer.resize(static_cast<std::size_t>(size));
        placed = catalogue.read(sectionBytes, QByteArray(), buffer.data(), size);
    }
    return catalogue.decode(buffer.data(), placed);
}
