// SPDX-License-Identifier: GPL-3.0-or-later
#include "inireader.h"
#include "profilestream.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

enum Kind { Regular, Missing, Fifo };

// Every row reads through a real file; a guarded buffer shows each byte the reader wrote.
class TestIniReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

void TestIniReader::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("section"); // null: the section names
    QTest::addColumn<QByteArray>("key");     // null: the key list
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("placed"); // every byte written, terminators included
    QTest::addColumn<int>("result");

    const QByteArray none;
    const QByteArray id = "ID"_ba;
    const QByteArray missed = "dflt\0"_ba; // the default, placed
    const QByteArray pair = "[ID]\nab=1\ncd=2\n"_ba;
    const QByteArray longName(70000, 'k');
    const QByteArray longValue(100000, 'v');
    const auto row = [&](const char *name, const QByteArray &file, const QByteArray &section,
                         const QByteArray &key, const QByteArray &placed, int result, int size = 64,
                         Kind kind = Regular) {
        QTest::newRow(name) << file << int(kind) << section << key << size << placed << result;
    };

    row("names match in any ASCII case", "[id]\nWOOD=12"_ba, "Id"_ba, "wOod"_ba, "12\0"_ba, 2);
    row("blanks, Ctrl-Z trimmed; no-break space kept",
        "\t[ ID ] \x1a\r\n \v Wood \f= \t\xA0"
        "1 2\xA0 \x1a\r\n"_ba,
        " ID\t"_ba, " Wood "_ba,
        "\xA0"
        "1 2\xA0\0"_ba,
        5);
    row("text after the header ignored", "[ID] note\nWood=12"_ba, id, "Wood"_ba, "12\0"_ba, 2);
    row("value keeps later equals signs", "[ID]\nWood=1=2"_ba, id, "Wood"_ba, "1=2\0"_ba, 3);
    row("a longer name is another key", "[ID]\nWood x=1\nWood=2"_ba, id, "wood"_ba, "2\0"_ba, 1);
    row("double quotes removed", "[ID]\nWood= \"1 \" "_ba, id, "Wood"_ba, "1 \0"_ba, 2);
    row("single quotes removed", "[ID]\nWood='12'"_ba, id, "Wood"_ba, "12\0"_ba, 2);
    row("unmatched quotes kept", "[ID]\nWood=\"12'"_ba, id, "Wood"_ba, "\"12'\0"_ba, 4);
    row("comment line found by its full name", "[ID]\n;Wood=12"_ba, id, ";Wood"_ba, "12\0"_ba, 2);
    row("first of a repeated key wins", "[ID]\nWood=1\nwood=2"_ba, id, "WOOD"_ba, "1\0"_ba, 1);
    row("second section of a name ignored", "[ID]\nab=1\n[X]\n[id]\ncd=2"_ba, id, "cd"_ba, missed,
        4);
    row("keys before the first header unreachable", "Wood=1\n[]\nab=2"_ba, ""_ba, "Wood"_ba, missed,
        4);
    row("key list: comments and lines without equals skipped, the rest as written",
        "[ID]\nWood\n ;c=1\nab=1\n=5\nAB=2\n#h=1\n[X]\n[id]\ncd=2"_ba, id, none,
        "ab\0\0AB\0#h\0\0"_ba, 10);
    row("CRLF, CR, LF and no final line end", "[ID]\r\na=1\rb=2\n\r\n\nc=3"_ba, id, none,
        "a\0b\0c\0\0"_ba, 6);
    row("no limit on line length", "[ID]\n"_ba + longName + "=" + longValue, id, longName,
        longValue + '\0', 100000, 100001);
    row("NUL ends a name and a value", "[ID]\nWo \0od=1 \0 2"_ba, id, "Wo"_ba, "1\0"_ba, 1);
    row("missing file gives the default", ""_ba, id, "Wood"_ba, missed, 4, 64, Missing);
    row("missing section gives the default", "[X]\nWood=1"_ba, id, "Wood"_ba, missed, 4);
    row("missing key gives the default", "[ID]\nStone=1"_ba, id, "Wood"_ba, missed, 4);
    row("empty value is not the default", "[ID]\nWood= "_ba, id, "Wood"_ba, "\0"_ba, 0);
    row("empty key list gives the default", "[ID]\n[X]\nab=1"_ba, id, none, missed, 4);
    row("value cut to size - 1", "[ID]\nWood=123456"_ba, id, "Wood"_ba, "123\0"_ba, 3, 4);
    row("size 0 writes nothing", "[ID]\nWood=12"_ba, id, "Wood"_ba, ""_ba, 0, 0);
    row("key list fits with two to spare", pair, id, none, "ab\0cd\0\0"_ba, 6, 8);
    row("key list one short is cut", pair, id, none, "ab\0cd\0\0"_ba, 5, 7);
    row("section names listed", "a=1\n[A]\n[b]"_ba, none, none, "A\0b\0\0"_ba, 4);
    row("FIFO reads as empty without blocking", ""_ba, id, none, missed, 4, 64, Fifo);
    row("UTF-16 BE answered in UTF-8", "\xFE\xFF\0[\0I\0D\0]\0\n\xD8\x3D\xDE\0\0=\0001"_ba, id,
        none, "\xF0\x9F\x98\x80\0\0"_ba, 5);
    row("UTF-16 lone surrogate replaced", "\xFF\xFE[\0I\0D\0]\0\n\0\x00\xD8=\0001\0"_ba, id, none,
        "\xEF\xBF\xBD\0\0"_ba, 4);
    row("runs of blanks and line ends between lines",
        "\n\r\n \t\v\f\x1a\r\r\n[ID]\n \n\t\r\nWood=1\n\n"_ba, id, "Wood"_ba, "1\0"_ba, 1);
    QByteArray nearSeparators; // bytes next to blanks and line ends, each after a long run of them
    for (const char c : "\x08\x0e\x19\x1b\x1f!\x7f\x80\xff"_ba)
        nearSeparators += " \t\n\v\f\r\x1a"_ba.repeated(10) + c + "[ID]\nk=1\n";
    row("only blanks and line ends are passed between lines", nearSeparators, id, none, missed, 4);
    row("a line of NULs before the section", QByteArray(300, '\0') + "\n[ID]\nWood=1"_ba, id,
        "Wood"_ba, "1\0"_ba, 1);
    row("a NUL ends a section's name, a later ] still makes the header", "[ a]b ] \0 ]\nk=1"_ba,
        "a]b ]"_ba, "k"_ba, "1\0"_ba, 1);
    row("quoted value cut keeps its inner blanks", "[ID]\nk= \"  abcdef  \" "_ba, id, "k"_ba,
        "  a\0"_ba, 3, 4);
    row("value cut with an unclosed quote", "[ID]\nk='abcdef \x1a"_ba, id, "k"_ba, "'ab\0"_ba, 3,
        4);
}

// The path that the row reads: a file with the row's bytes, or no file, or a FIFO (on Windows a
// named pipe whose server waits: opening it connects, and a read would wait for its data).
static QString makeFile(const QTemporaryDir &dir, Kind kind, const QByteArray &bytes)
{
    QString path = dir.filePath(u"id.ini"_s);
#ifdef Q_OS_WIN
    if (kind == Fifo) {
        path = u"\\\\.\\pipe\\"_s + QFileInfo(dir.path()).fileName();
        const HANDLE server
                = CreateNamedPipeW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                   PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
        return server != INVALID_HANDLE_VALUE ? path : QString(); // closed with the test
    }
#else
    if (kind == Fifo)
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
#endif
    QFile out(path);
    if (kind == Regular && (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()))
        return {};
    return path;
}

void TestIniReader::read()
{
    QFETCH(QByteArray, file);
    QFETCH(int, kind);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(int, size);
    QFETCH(QByteArray, placed);
    QFETCH(int, result);

    QTemporaryDir dir;
    const QString path = makeFile(dir, Kind(kind), file);
    QVERIFY(!path.isEmpty());
    const QByteArray pathBytes = path.toUtf8();

    const auto cString = [](const QByteArray &b) { return b.isNull() ? nullptr : b.constData(); };
    // Nothing past the placed bytes is touched, up to and beyond buffer[size].
    const QByteArray written = placed + QByteArray(16 + size - placed.size(), '#');
    std::vector<char> buffer(size + 16, '#');
    QCOMPARE(ini::getPrivateProfileString(cString(section), cString(key), "dflt", buffer.data(),
                                          size, pathBytes.constData()),
             result);
    QCOMPARE(QByteArray(buffer.data(), qsizetype(buffer.size())), written);

    // Windows so small that every line runs across their edges read the file alike.
    for (const std::size_t window : {1, 2, 3, 5, 8, 13, 64}) {
        std::ranges::fill(buffer, '#');
        const ini::ProfileFile profile(pathBytes.constData());
        QCOMPARE(profile.getString(cString(section), cString(key), "dflt", buffer.data(), size,
                                   window),
                 result);
        QCOMPARE(QByteArray(buffer.data(), qsizetype(buffer.size())), written);
    }
}

QTEST_GUILESS_MAIN(TestIniReader)
#include "tst_inireader.moc"
