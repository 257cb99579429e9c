// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The catalogue's name travels as a QString and reaches the reader as bytes. Every name that the
// system can give passes through a QString and back unchanged:
// - Linux names files by bytes, and not every byte string is UTF-8: a folder made on a Latin-1
//   system is named "caf\xe9". Valid UTF-8 decodes as usual, and each byte that is no part of it
//   stands as the lone surrogate U+DC80 + byte, which no decoded text holds otherwise.
// - Windows names files in UTF-16, where a surrogate may stand without its partner. The bytes are
//   WTF-8: UTF-8 in which such a surrogate is encoded like any other code point.
QString fileNameFromBytes(const QByteArray &bytes);
// The bytes again; nothing for a text that names no file (a NUL, on Linux a surrogate that stands
// for no byte).
std::optional<QByteArray> fileNameToBytes(const QString &name);

// id.txt in the program folder: the folder that holds the running program's file, whatever it is
// named and however long its path, never the working directory. With no program folder, a null
// text: it names no file, so the catalogue is empty, never one in the working directory or the
// root.
QString cataloguePath();
