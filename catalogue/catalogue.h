// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The value of key in section of the INI file, or with a null key (QString()) the section's
// key names, each followed by a NUL. Reads the file anew on every call.
QString ReadIni(const QString &file, const QString &section, const QString &key);

// The section's key list as ReadIni gives it, but never cut short: while the names fill the
// buffer, the file is asked again with one twice as large.
QString wholeKeyList(const QString &file, const QString &section);

// Appends every key name of the section to list, in file order; clears and selects nothing.
template<class List>
void FillListFromIni(List &list, const QString &file, const QString &section)
{
    const QString keys = wholeKeyList(file, section);
    if (keys.isEmpty())
        return;
    // The piece after the last NUL is never added: it is empty, or (past the largest buffer) a
    // name that did not fit whole.
    QStringList pieces = keys.split(QChar(u'\0'));
    pieces.removeLast();
    if constexpr (requires(const QStringList &names) { list.addItems(names); }) {
        // The same entries in the same order as one addItem each, in one insertion: a combo box
        // lays out its list once instead of once per name.
        list.addItems(pieces);
    } else {
        for (const QString &piece : std::as_const(pieces))
            list.addItem(piece);
    }
}
