// SPDX-License-Identifier: GPL-3.0-or-later
#include "programfolder.h"
#include "widename.h"

#include <windows.h>

using namespace Qt::StringLiterals;

namespace {

// The running program's file as the system names it. The path may be longer than any fixed
// buffer: while the name fills the whole buffer it may have been cut, and a larger one is tried.
std::optional<std::wstring> programFile()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    const std::optional<std::wstring> name
            = ini::wideFromWtf8(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return name ? QString::fromStdWString(*name) : QString();
}

std::optional<QByteArray> fileNameToBytes(const QString &name)
{
    if (name.contains(QChar(u'\0')))
        return std::nullopt;
    const std::string bytes = ini::wtf8FromWide(name.toStdWString());
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QString cataloguePath()
{
    const std::optional<std::wstring> file = programFile();
    const std::size_t separator = file ? file->find_last_of(L"\\/") : std::wstring::npos;
    if (separator == std::wstring::npos)
        return QString();
    return QString::fromStdWString(file->substr(0, separator)) + u"\\id.txt"_s;
}
