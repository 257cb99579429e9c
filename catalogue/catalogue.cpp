// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"
#include "codepage.h"
#include "inireader.h"

#include <QFile>

#include <algorithm>
#include <optional>

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

} // namespace

QString ReadIni(const QString &file, const QString &section, const QString &key)
{
    // Fresh NULs on every call; on the stack, since a heap block of this size costs more to
    // map and hand back than the whole lookup.
    char buffer[bufferSize] = {};
    int n = 0;
    std::optional<codepage::CodePage> resultPage;
    {
        const ini::ProfileText text = ini::loadProfile(QFile::encodeName(file).constData());
        FileCodePage page(text);
        const QByteArray sectionBytes = page.encode(section);
        const QByteArray keyBytes = key.isNull() ? QByteArray() : page.encode(key);
        n = ini::getProfileString(text, sectionBytes.constData(),
                                  key.isNull() ? nullptr : keyBytes.constData(), "", buffer,
                                  bufferSize);
        if (!codepage::isAscii(buffer, static_cast<std::size_t>(n)))
            resultPage = page.page();
    }
    // The file's bytes are gone before the result is built, so the heap does not grow by both
    // on every call only to be handed back to the system afterwards.
    return resultPage ? codepage::decode(*resultPage, buffer, n) : QString::fromLatin1(buffer, n);
}
