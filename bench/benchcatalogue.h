// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QString>
#include <QStringList>

// The catalogue both in-process benchmarks measure against: 5,000 items in section ID.
constexpr int BenchItemCount = 5000;

// Writes it to path and returns its item names in file order. The names are short: the key list
// is one 32,767-character buffer, and 5,000 names with their NULs fit into it only at five
// characters or fewer.
inline QStringList writeBenchCatalogue(const QString &path)
{
    QStringList names;
    QByteArray text = "[ID]\r\n";
    for (int i = 1; i <= BenchItemCount; ++i) {
        const QByteArray name = 'I' + QByteArray::number(i).rightJustified(4, '0');
        names << QString::fromLatin1(name);
        text += name + '=' + QByteArray::number(i) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return names;
}

// Section ID with count items "Item 0000001" and up, ids 1 and up: 50,000 of them are about 1 MB.
inline QByteArray itemCatalogueText(int count)
{
    QByteArray text = "[ID]\r\n";
    for (int i = 1; i <= count; ++i)
        text += "Item " + QByteArray::number(i).rightJustified(7, '0') + '=' + QByteArray::number(i)
                + "\r\n";
    return text;
}

// The same catalogue written to path; returns its item names in file order.
inline QStringList writeSizedCatalogue(const QString &path, int count)
{
    QStringList names;
    names.reserve(count);
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("Item ") + QString::number(i).rightJustified(7, u'0');
    const QByteArray text = itemCatalogueText(count);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return names;
}

// Writes leadBytes of pattern repeated, or with an empty pattern a hole of that many zero bytes
// that takes no room on the disk, then text. False, and no file, when the disk lacks the room.
inline bool writeLedCatalogue(const QString &path, qint64 leadBytes, const QByteArray &pattern,
                              const QByteArray &text)
{
    const qint64 needed = (pattern.isEmpty() ? 0 : leadBytes) + text.size();
    if (QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() < needed + (64 << 20))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    if (pattern.isEmpty()) {
        if (!file.resize(leadBytes) || !file.seek(leadBytes))
            qFatal("cannot make %s sparse", qPrintable(path));
    } else {
        QByteArray chunk = pattern.repeated((1 << 20) / pattern.size());
        for (qint64 left = leadBytes; left > 0; left -= chunk.size()) {
            if (left < chunk.size())
                chunk = pattern.repeated(int(left / pattern.size()))
                        + pattern.left(left % pattern.size());
            if (file.write(chunk) != chunk.size())
                qFatal("cannot write %s", qPrintable(path));
        }
    }
    if (file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return true;
}
