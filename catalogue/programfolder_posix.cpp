// SPDX-License-Identifier: GPL-3.0-or-later
#include "programfolder_posix.h"
#include "codepage.h"
#include "programfolder.h"

#include <unistd.h>

#include <vector>

namespace {

constexpr char16_t EscapeBase = 0xDC00; // U+DC80 to U+DCFF stand for the bytes 0x80 to 0xFF

// The folder that holds the program file that programLink names, without a trailing separator
// (the root folder is "").
std::optional<QByteArray> programFolder(const char *programLink)
{
    // The link's text is read as bytes, whatever they are; it may exceed any fixed buffer.
    std::vector<char> target(256);
    ssize_t length = 0;
    while ((length = ::readlink(programLink, target.data(), target.size()))
           == static_cast<ssize_t>(target.size()))
        target.resize(target.size() * 2);
    if (length <= 0 || target[0] != '/')
        return std::nullopt;
    const QByteArray file(target.data(), length);
    return file.left(file.lastIndexOf('/'));
}

} // namespace

QString fileNameFromBytes(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    while (p < end) {
        const char *run = p;
        std::size_t length = 0;
        while (p < end && (length = codepage::utf8SequenceLength(p, end - p)) > 0)
            p += length;
        name += QString::fromUtf8(run, p - run);
        if (p < end)
            name += QChar(char16_t(EscapeBase + static_cast<unsigned char>(*p++)));
    }
    return name;
}

std::optional<QByteArray> fileNameToBytes(const QString &name)
{
    QByteArray bytes;
    qsizetype plain = 0; // where the text not yet converted starts
    const auto convertTo = [&](qsizetype end) {
        bytes += QStringView(name).sliced(plain, end - plain).toUtf8();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.unicode() == 0)
            return std::nullopt;
        if (!c.isSurrogate())
            continue;
        // Only a byte that is no part of UTF-8 is escaped, and so only one of 0x80 to 0xFF.
        const auto escaped = static_cast<char16_t>(c.unicode() - EscapeBase);
        if (escaped < 0x80 || escaped > 0xFF)
            return std::nullopt;
        convertTo(i);
        bytes += static_cast<char>(escaped);
        plain = i + 1;
    }
    convertTo(name.size());
    return bytes;
}

QString cataloguePath(const char *programLink)
{
    const std::optional<QByteArray> folder = programFolder(programLink);
    return folder ? fileNameFromBytes(*folder + "/id.txt") : QString();
}

QString cataloguePath()
{
    return cataloguePath("/proc/self/exe");
}
