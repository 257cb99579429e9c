// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// File names are bytes to the system, and not every byte string is UTF-8: a folder made on a
// Latin-1 system is named "caf\xe9". Such a name still passes through a QString and back without
// loss: valid UTF-8 decodes as usual, and each byte that is no part of it stands as the lone
// surrogate U+DC80 + byte, which no decoded text holds otherwise.
QString fileNameFromBytes(const QByteArray &bytes);
// The bytes again; nothing for a text that names no file (a NUL, a surrogate that stands for no
// byte).
std::optional<QByteArray> fileNameToBytes(const QString &name);

// The folder that holds the program file that programLink names, without a trailing separator
// (the root folder is ""); by default the running program's own, as the system tells it.
// Nothing when the link cannot be read or names no absolute path.
std::optional<QByteArray> programFolder(const char *programLink = "/proc/self/exe");

// id.txt in the program folder, as a file name for ReadIni. With no program folder, a null text:
// it names no file, so the catalogue is empty, never one in the working directory or the root.
QString cataloguePath(const char *programLink = "/proc/self/exe");
