// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The item catalogue, from the window down to the file. Only this header, inireader.h and
// programfolder.h are for others to include; the layers below them lie in private/.
//
//   ReadIni, FillListFromIni    catalogue.cpp: Qt texts in and out, names encoded in the file's
//                               code page and answers decoded back (CatalogueFile)
//   getPrivateProfileString     inireader.cpp: the four questions (a value, the key list, the
//                               sections), the rules of the INI text that answer them, the cuts of
//                               the caller's buffer
//   WindowLines                 profilestream.cpp: the text cut into lines through a window of
//                               fixed size; a line that fits is read where it lies (HeldText), a
//                               longer one again from the file for each part asked (LongLine)
//   TextReader, ProfileFile     profilestream.cpp: the file's text in order, its byte order mark
//                               passed, UTF-16 decoded
//   SystemFile                  systemfile_*.cpp: the only system calls, open and read at an offset
//
// Where each rule lives:
//   line ends (CR, LF, CRLF), blank lines   initext.h lineEnd, skipSeparators; WindowLines::next
//   the blanks that trimming drops          initext.h isBlank, trim
//   section header and its name             inireader.cpp headerName
//   comment lines                           inireader.cpp listKeys: the key list skips ";" lines
//   key name and value, NUL, quotes         inireader.cpp keyName, value, unquoted
//   the key that a lookup finds             inireader.cpp isKeyNamed, through keyName
//   names matched in any ASCII case         initext.h equalsIgnoringAsciiCase
//   the key list's entries                  inireader.cpp listKeys, NameList::add
//   buffer cuts, the default                inireader.cpp place, placeDefault, NameList::finish
//   byte order mark, UTF-16                 profilestream.cpp ProfileFile(), TextReader::readUtf16
//   code page: UTF-8 or Windows-1252        codepage.cpp; per file in CatalogueFile::page

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
