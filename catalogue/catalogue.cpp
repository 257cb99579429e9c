// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"
#include "codepage.h"
#include "inireader.h"

#include <QFile>

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

// The file's code page, worked out only when a text outside ASCII needs it: ASCII reads and
// writes the same in both, and most lookups never touch anything else.
class FileCodePage
{
public:
    explicit FileCodePage(const ini::ProfileText &text)
        : m_text(text)
    { }

    QByteArray encode(const QString &text)
    {
        return isAscii(text) ? text.toLatin1() : codepage::encode(page(), text);
    }

    codepage::CodePage page()
    {
        if (!m_page)
            m_page = codepage::detect(m_text.bytes.data(), m_text.bytes.size());
        return *m_page;
    }

private:
    const ini::ProfileText &m_text;
    std::optional<codepage::CodePage> m_page;
};

// One call of the reader into buffer: the characters it placed, decoded in the file's code page.
QString readProfile(const QString &file, const QString &section, const QString &key, char *buffer,
                    int size, int &placed)
{
    std::optional<codepage::CodePage> resultPage;
    {
        const ini::ProfileText text = ini::loadProfile(QFile::encodeName(file).constData());
        FileCodePage page(text);
        const QByteArray sectionBytes = page.encode(section);
        const QByteArray keyBytes = key.isNull() ? QByteArray() : page.encode(key);
        placed = ini::getProfileString(text, sectionBytes.constData(),
                                       key.isNull() ? nullptr : keyBytes.constData(), "", buffer,
                                       size);
        if (!codepage::isAscii(buffer, static_cast<std::size_t>(placed)))
            resultPage = page.page();
    }
    // The file's bytes are gone before the result is built, so the heap does not grow by both
    // on every call only to be handed back to the system afterwards.
    return resultPage ? codepage::decode(*resultPage, buffer, placed)
                      : QString::fromLatin1(buffer, placed);
}

} // namespace

QString ReadIni(const QString &file, const QString &section, const QString &key)
{
    // Fresh NULs on every call; on the stack, since a heap block of this size costs more to
    // map and hand back than the whole lookup.
    char buffer[bufferSize] = {};
    int placed = 0;
    return readProfile(file, section, key, buffer, bufferSize, placed);
}

QString wholeKeyList(const QString &file, const QString &section)
{
    constexpr int largestSize = std::numeric_limits<int>::max();
    char first[bufferSize] = {};
    int placed = 0;
    QString keys = readProfile(file, section, QString(), first, bufferSize, placed);
    // The reader gives size - 2 both for a list it cut and for one that fills the buffer exactly;
    // only a larger buffer tells them apart.
    std::vector<char> larger;
    for (int size = bufferSize; placed == size - 2 && size < largestSize;) {
        size = size <= largestSize / 2 ? size * 2 : largestSize;
        larger.assign(static_cast<std::size_t>(size), '\0');
        keys = readProfile(file, section, QString(), larger.data(), size, placed);
    }
    return keys;
}
