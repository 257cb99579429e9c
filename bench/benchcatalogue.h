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
