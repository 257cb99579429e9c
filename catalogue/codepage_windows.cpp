// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <windows.h>

// A catalogue written by an 8-bit Windows program is in the ANSI code page of the user's Windows,
// and is read in it: Windows-1251 on a Russian Windows, Windows-1252 on a German one.
namespace codepage {

unsigned systemCodePage()
{
    // Where the ANSI code page is UTF-8 (a choice in the region settings), a file that is not
    // UTF-8 cannot be in it: decoding it as UTF-8 would turn its names into U+FFFD, and no such
    // name would find its id again. It is read as Windows-1252, whose every byte survives.
    const UINT page = GetACP();
    return page == CP_UTF8 ? 1252 : page;
}

QString decode(CodePage page, const char *data, qsizetype size)
{
    if (page == CodePage::Utf8)
        return QString::fromUtf8(data, size);
    if (size <= 0)
        return QString();
    const UINT codePage = systemCodePage();
    const int length = MultiByteToWideChar(codePage, 0, data, int(size), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(codePage, 0, data, int(size), reinterpret_cast<wchar_t *>(text.data()),
                        length);
    return text;
}

QByteArray encode(CodePage page, const QString &text)
{
    if (page == CodePage::Utf8)
        return text.toUtf8();
    if (text.isEmpty())
        return QByteArray();
    // No best fit: a character that the code page cannot hold becomes "?", never a look-alike
    // that might be another item's name.
    const UINT codePage = systemCodePage();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, int(text.size()),
                                           nullptr, 0, "?", nullptr);
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), bytes.data(),
                        length, "?", nullptr);
    return bytes;
}

} // namespace codepage
