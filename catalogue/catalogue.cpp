// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"
#include "codepage.h"
#include "profilestream.h"
#include "programfolder.h"

#include <algorithm>
#include <optional>

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

    QString decode(const char *bytes, qsizetype size)
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

    ini::KeyList keyList(const QByteArray &section) const
    {
        return m_file.keyList(section.constData());
    }

    ini::KeyValueList keyValues(const QByteArray &section) const
    {
        return m_file.keyValues(section.constData(), bufferSize);
    }

    // The texts of a list, each followed by its NUL, decoded.
    KeyNames decode(const ini::KeyList &list)
    {
        KeyNames texts{decode(list.names.get(), static_cast<qsizetype>(list.size)), {}};
        if (texts.text.size() == static_cast<qsizetype>(list.size)) {
            // A character for each byte, as ASCII and Windows-1252 decode: each NUL stands where
            // the reader wrote it.
            texts.ends = QList<qsizetype>(list.ends.begin(), list.ends.end());
        } else {
            for (qsizetype end = texts.text.indexOf(u'\0'); end >= 0;
                 end = texts.text.indexOf(u'\0', end + 1))
                texts.ends.append(end);
        }
        return texts;
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
            m_page = text.valid() ? codepage::CodePage::Utf8 : codepage::CodePage::System;
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

KeyNames wholeKeyList(const QString &file, const QString &section)
{
    CatalogueFile catalogue(file);
    return catalogue.decode(catalogue.keyList(catalogue.encode(section)));
}

KeyValues wholeKeyListWithValues(const QString &file, const QString &section)
{
    CatalogueFile catalogue(file);
    const ini::KeyValueList list = catalogue.keyValues(catalogue.encode(section));
    // Decoded as ReadIni decodes each value: a value cut inside a UTF-8 character ends in one
    // replacement character for each of its bytes there, whether a NUL or the text's end follows.
    return {catalogue.decode(list.names), catalogue.decode(list.values)};
}
