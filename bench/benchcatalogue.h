// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
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

// A catalogue of count items in section ID whose lines are about 20 bytes ("Item 0000001=1"):
// 50,000 of them make about 1 MB, a million about 20 MB. Writes it to path and returns its item
// names in file order.
inline QStringList writeSizedCatalogue(const QString &path, int count)
{
    QStringList names;
    names.reserve(count);
    QByteArray text = "[ID]\r\n";
    text.reserve(qsizetype(count) * 20 + 8);
    for (int i = 1; i <= count; ++i) {
        const QByteArray name = "Item " + QByteArray::number(i).rightJustified(7, '0');
        names << QString::fromLatin1(name);
        text += name + '=' + QByteArray::number(i % 30000 + 1) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return names;
}
