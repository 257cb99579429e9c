// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The item catalogue, from the window down to the file. Only this header, inireader.h and
// programfolder.h are for others to include; the layers below them lie in private/.
//
//   ReadIni, FillListFromIni    catalogue.cpp: Qt texts in and out, names encoded in the file's
//                               code page and answers decoded back (CatalogueFile); the whole
//                               key list handed over as one text (KeyNames)
//   getPrivateProfileString     inireader.cpp: the four questions (a value, the key list, the
//                               sections), the rules of the INI text that answer them, the cuts of
//                               the caller's buffer
//   WindowLines                 profilestream.cpp: the text cut into lines through a window of
//                               fixed size; a line that fits is read where it lies (HeldText), a
//                               longer one again from the file for each part asked (LongLine)
//   TextReader, ProfileFile     profilestream.cpp: the file's text in order, its byte order mark
//                               passed, UTF-16 decoded
//   SystemFile                  systemfile_posix.cpp, systemfile_windows.cpp: the only system
//                               calls, open and read at an offset
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
//   the whole key list, in one walk         inireader.cpp WholeList, ProfileFile::keyList
//   every listed name's value, in that walk inireader.cpp ValuedList, FirstNames (through
//                                           initext.h hashIgnoringAsciiCase), keyValues
//   buffer cuts, the default                inireader.cpp cutToBuffer, place, placeDefault,
//                                           NameList::finish
//   byte order mark, UTF-16                 profilestream.cpp ProfileFile(), TextReader::readUtf16
//   code page: UTF-8 or the system's        codepage.cpp; per file in CatalogueFile::page
//   the system's 8-bit code page            codepage_posix.cpp Windows-1252, codepage_windows.cpp
//                                           the ANSI code page
//   the program folder, file names          programfolder_posix.cpp, programfolder_windows.cpp;
//                                           wide names as bytes: widename_windows.cpp

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The value of key in section of the INI file, or with a null key (QString()) the section's
// key names, each followed by a NUL. Reads the file anew on every call.
QString ReadIni(const QString &file, const QString &section, const QString &key);

// Key names as ReadIni's key list holds them, each followed by a NUL, and where those NULs stand;
// or texts of another kind in the same form.
struct KeyNames
{
    QString text;
    QList<qsizetype> ends;

    qsizetype size() const { return ends.size(); }
    // Text k without its NUL, 0 <= k < size().
    QStringView at(qsizetype k) const
    {
        const qsizetype start = k == 0 ? 0 : ends.at(k - 1) + 1;
        return QStringView(text).sliced(start, ends.at(k) - start);
    }
};

// The section's key names as ReadIni lists them, but never cut short, from one walk of the file.
KeyNames wholeKeyList(const QString &file, const QString &section);

// The section's key names as wholeKeyList gives them, and for each its value exactly as ReadIni
// gives it for that name (the value of the first key with that name in any ASCII case), from one
// walk of the file: all that a lookup of every listed name would read, read once.
struct KeyValues
{
    KeyNames names;
    KeyNames values; // values.at(k) belongs to names.at(k)
};
KeyValues wholeKeyListWithValues(const QString &file, const QString &section);

// Appends every key name of the section to list, in file order; clears and selects nothing.
template<class List>
void FillListFromIni(List &list, const QString &file, const QString &section)
{
    const KeyNames names = wholeKeyList(file, section);
    if (names.ends.isEmpty())
        return;
    if constexpr (requires { list.addNames(names); }) {
        // A list that keeps its names as one text takes them as they came: no text per name.
        list.addNames(names);
    } else {
        QStringList pieces;
        pieces.reserve(names.ends.size());
        qsizetype start = 0;
        for (const qsizetype end : names.ends) {
            pieces << names.text.sliced(start, end - start);
            start = end + 1;
        }
        if constexpr (requires(const QStringList &texts) { list.addItems(texts); }) {
            // The same entries in the same order as one addItem each, in one insertion: a combo
            // box lays out its list once instead of once per name.
            list.addItems(pieces);
        } else {
            for (const QString &piece : std::as_const(pieces))
                list.addItem(piece);
        }
    }
}
