// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue.h"
#include "codepage.h"
#include "programfolder.h"

#include <QComboBox>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include "programfolder_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void readIni_data();
    void readIni();
    void valuesAsReadIniGivesThem_data();
    void valuesAsReadIniGivesThem();
    void everyNameListed_data();
    void everyNameListed();
    void systemCodePage_data();
    void systemCodePage();
    void codePageOfPieces_data();
    void codePageOfPieces();
    void fileNames_data();
    void fileNames();
    void ownFolder_data();
    void ownFolder();
#ifdef Q_OS_WIN
    void readWhileHeldForWriting();
#else
    void noProgramFolder_data();
    void noProgramFolder();
#endif

private:
    QString write(const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(QString::number(++m_files)));
        const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        return ok ? file.fileName() : QString();
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

#ifndef Q_OS_WIN
// A file named by bytes, which a QString might not hold.
static bool writeBytes(const QByteArray &path, const QByteArray &bytes, mode_t mode = 0600)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(fd) == 0 && ok;
}
#endif

static QStringList items(const QComboBox &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

void TestCatalogue::roundTrip_data()
{
    QTest::addColumn<QByteArray>("file");
    // A stray key before the header and a second section must not reach the list; an empty
    // name and one framed by no-break spaces are names like any other.
    const QString text = u"Ghost=0\n[Other]\nWood=99\n[ID]\nWood=12\nÉpée = 7\nStraße €=8\n"
                         u"x\u0081y=\"9\"\n=5\n\u00A0x\u00A0=6\n[Other]\nLate=1\n"_s;
    const QByteArray cp1252 = "Ghost=0\n[Other]\nWood=99\n[ID]\nWood=12\n\xC9p\xE9"
                              "e = 7\nStra\xDF"
                              "e \x80=8\nx\x81y=\"9\"\n=5\n\xA0x\xA0=6\n[Other]\nLate=1\n"_ba;
    const QList<QPair<const char *, QString>> lineEnds{
            {"LF", u"\n"_s}, {"CRLF", u"\r\n"_s}, {"CR", u"\r"_s}};
    for (const auto &[endName, end] : lineEnds) {
        const QString lines = QString(text).replace(u'\n', end);
        QStringEncoder le(QStringEncoder::Utf16LE);
        QStringEncoder be(QStringEncoder::Utf16BE);
        const QList<QPair<QString, QByteArray>> files{
                {u"UTF-8"_s, lines.toUtf8()},
                {u"UTF-8 BOM"_s, "\xEF\xBB\xBF"_ba + lines.toUtf8()},
                {u"UTF-16 LE"_s, "\xFF\xFE"_ba + QByteArray(le(lines))},
                {u"UTF-16 BE"_s, "\xFE\xFF"_ba + QByteArray(be(lines))},
                {u"Windows-1252"_s, QByteArray(cp1252).replace("\n", end.toLatin1())},
        };
        for (const auto &[encoding, bytes] : files) {
            // An 8-bit file is read in the system's code page, not Windows-1252 everywhere.
            if (encoding == u"Windows-1252" && codepage::systemCodePage() != 1252)
                continue;
            QTest::newRow(qPrintable(encoding + u' ' + QLatin1String(endName))) << bytes;
        }
    }
}

// Every name a combo box shows finds its own id again, whatever the file's encoding.
void TestCatalogue::roundTrip()
{
    QFETCH(QByteArray, file);
    const QString path = write(file);
    QComboBox list;
    list.addItem(u"kept"_s);
    FillListFromIni(list, path, u"ID"_s);
    QStringList ids;
    for (const QString &name : items(list))
        ids << name + u'=' + ReadIni(path, u"ID"_s, name);
    QCOMPARE(ids.join(u'|'), u"kept=|Wood=12|Épée=7|Straße €=8|x\u0081y=9|=5|\u00A0x\u00A0=6"_s);
}

void TestCatalogue::readIni_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key"); // null: the key list
    QTest::addColumn<QString>("expected");

    QTest::newRow("value cut to 32,766")
            << "[ID]\nLong="_ba + QByteArray(40000, 'v') << u"long"_s << QString(32766, u'v');
    // Files in Windows-1252, which is read so where it is the system's 8-bit code page.
    if (codepage::systemCodePage() != 1252)
        return;
    QTest::newRow("overlong UTF-8 read as Windows-1252")
            << "[ID]\n\xE0\x80\xAF=1"_ba << QString() << u"à€¯\0"_s;
    QTest::newRow("encoded surrogate read as Windows-1252")
            << "[ID]\n\xED\xA0\x80=2"_ba << QString() << u"í\u00A0€\0"_s;
    QTest::newRow("a stray byte far into the file makes it Windows-1252") << "[ID]\n\xC3\xA9=1\n"_ba
                    + QByteArray(300000, ';') + "\n\xE9" << QString() << u"Ã©\0"_s;
}

void TestCatalogue::readIni()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ReadIni(write(file), u"ID"_s, key), expected);
}

void TestCatalogue::valuesAsReadIniGivesThem_data()
{
    QTest::addColumn<QByteArray>("file");
    const auto utf16 = [](const QString &text) {
        QStringEncoder le(QStringEncoder::Utf16LE);
        return "\xFF\xFE"_ba + QByteArray(le(text));
    };
    QTest::newRow("duplicates in any case")
            << "Wood=1\n[ID]\nWood=12\nwOOD=13\nStone=7\nWOOD=14\nstone=8\n[x]\nwood=2"_ba;
    // A comment line is no name, but a lookup would reach it.
    QTest::newRow("comment lines") << "[ID]\n;Wood=1\nWood=12\n;wood=2\n; x = 3\nx=4\n"_ba;
    QTest::newRow("NULs") << "[ID]\nA\0B=1\nA=2\nC=3\0 4\n\0=5\n=6\n"_ba;
    QTest::newRow("quotes and blanks")
            << "[ID]\n A = \"12\" \nB='7'\nC=\"8'\nD=\"\nE=\"\"\nF= ' 9 ' \n"_ba;
    QTest::newRow("a long value, cut, and its duplicate")
            << "[ID]\nLong="_ba + QByteArray(40000, 'v') + "\nlong=1\nShort=2\n"_ba;
    // 1 + 16,382 * 2 bytes, then the first byte of the next character.
    QTest::newRow("a value cut inside a character")
            << "[ID]\nLong=x"_ba + QString(20000, u'é').toUtf8() + "\nB=1\n"_ba;
    QTest::newRow("a line longer than the reader's window")
            << "[ID]\n"_ba + QByteArray(300000, 'n') + "=5\nB=1\n"_ba;
    QTest::newRow("UTF-16") << utf16(u"[ID]\nÉpée=7\nÉPée=8\népée=9\n中=10\n"_s);
    QTest::newRow("Windows-1252") << "[ID]\n\xC9p\xE9"
                                     "e=7\n\xC9P\xE9"
                                     "e=8\n\xE9p\xE9"
                                     "e=9\nx\x81=\x80\n"_ba;
    QTest::newRow("no section") << "[Other]\nWood=12\n"_ba;
}

// One walk gives the names that the list shows and, for each, what a lookup of it reads.
void TestCatalogue::valuesAsReadIniGivesThem()
{
    QFETCH(QByteArray, file);
    const QString path = write(file);
    const KeyValues read = wholeKeyListWithValues(path, u"ID"_s);
    const KeyNames names = wholeKeyList(path, u"ID"_s);
    QCOMPARE(read.names.text, names.text);
    QCOMPARE(read.names.ends, names.ends);
    QCOMPARE(read.values.size(), names.size());
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString name = names.at(k).toString();
        QCOMPARE(read.values.at(k), ReadIni(path, u"ID"_s, name));
    }
}

void TestCatalogue::everyNameListed_data()
{
    QTest::addColumn<QList<int>>("lengths"); // of the names, in file order
    QTest::addColumn<QChar>("filler");       // what pads each name to its length
    QTest::addColumn<int>("readIniSize");    // what a plain ReadIni of the key list gives
    // 99 characters and a NUL each: 100,000 bytes, three times the buffer.
    QTest::newRow("100,000 bytes of names") << QList<int>(1000, 99) << QChar(u'n') << 32765;
    // 327 names of 100 bytes and one of 65: exactly the 32,765 the buffer holds before its NULs.
    QTest::newRow("exact fit") << QList<int>(327, 99) + QList<int>{64} << QChar(u'n') << 32765;
    QTest::newRow("one byte past the buffer")
            << QList<int>(327, 99) + QList<int>{65} << QChar(u'n') << 32765;
    QTest::newRow("well within") << QList<int>(3, 5) << QChar(u'n') << 18;
    // A UTF-16 file whose names take more bytes once decoded than the whole file holds.
    QTest::newRow("UTF-16, 90,000 bytes of names") << QList<int>(1000, 33) << QChar(u'中') << -1;
}

// However long the key list, the list gets every name whole and in file order; ReadIni alone still
// ends at its buffer.
void TestCatalogue::everyNameListed()
{
    QFETCH(QList<int>, lengths);
    QFETCH(QChar, filler);
    QFETCH(int, readIniSize);
    QString text = u"[ID]\n"_s;
    QStringList names;
    for (int length : lengths) {
        names << QString::number(1000 + names.size()).leftJustified(length, filler);
        text += names.last() + u"=1\n"_s;
    }
    const bool latin1 = filler.unicode() < 0x80;
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QString path = write(latin1 ? text.toLatin1() : "\xFF\xFE"_ba + QByteArray(utf16(text)));
    QComboBox list;
    FillListFromIni(list, path, u"ID"_s);
    QCOMPARE(items(list), names);
    if (readIniSize >= 0) // the cut of a UTF-16 file's list falls within a character
        QCOMPARE(ReadIni(path, u"ID"_s, QString()).size(), readIniSize);
}

void TestCatalogue::systemCodePage_data()
{
    QTest::addColumn<uint>("codePage"); // 0: any of the code pages of one byte a character
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("names"); // empty: not pinned
    QTest::addColumn<QStringList>("ids");   // what each listed name finds
    QTest::newRow("Windows-1251 names are Cyrillic")
            << 1251U << "[ID]\n\xD9\xE8\xF2=3\n\xC1\xF0\xEE\xED\xFF \x80=4\n"_ba
            << QStringList{u"Щит"_s, u"Броня Ђ"_s} << QStringList{u"3"_s, u"4"_s};
    QByteArray everyByte = "[ID]\n"_ba;
    QStringList ids;
    for (int c = 0x80; c <= 0xFF; ++c) {
        everyByte += 'x' + QByteArray(1, char(c)) + '=' + QByteArray::number(c) + '\n';
        ids << QString::number(c);
    }
    QTest::newRow("every byte past ASCII") << 0U << everyByte << QStringList() << ids;
}

// A file that is not UTF-8 is read in the system's 8-bit code page, and every name that a list
// shows finds its own id again, the bytes that the code page leaves undefined included.
void TestCatalogue::systemCodePage()
{
    QFETCH(uint, codePage);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    QFETCH(QStringList, ids);
    if (codePage != 0 && codePage != codepage::systemCodePage())
        QSKIP("another code page is the system's");
    const QString path = write(file);
    QComboBox list;
    FillListFromIni(list, path, u"ID"_s);
    if (!names.isEmpty())
        QCOMPARE(items(list), names);
    QStringList found;
    for (const QString &name : items(list))
        found << ReadIni(path, u"ID"_s, name);
    QCOMPARE(found, ids);
}

void TestCatalogue::codePageOfPieces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("two, three and four bytes")
            << "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"_ba << true;
    QTest::newRow("Latin-1") << "caf\xE9 x"_ba << false;
    QTest::newRow("overlong") << "\xC0\xAF"_ba << false;
    QTest::newRow("encoded surrogate") << "\xED\xA0\x80"_ba << false;
    QTest::newRow("beyond U+10FFFF") << "\xF4\x90\x80\x80"_ba << false;
    QTest::newRow("cut off at the end") << "ab\xE2\x82"_ba << false;
    QTest::newRow("stray continuation") << "a\x80"_ba << false;
}

// The file's code page is judged on the pieces the reader hands out: a character cut between two
// pieces is judged whole.
void TestCatalogue::codePageOfPieces()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, utf8);
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        codepage::Utf8Validator pieces;
        pieces.add(text.constData(), cut);
        pieces.add(text.constData() + cut, text.size() - cut);
        QCOMPARE(pieces.valid(), utf8);
    }
}

void TestCatalogue::fileNames_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: the name names no file
    QTest::addColumn<QString>("name");
#ifdef Q_OS_WIN
    // Windows names are UTF-16, a surrogate without its partner included; their bytes are WTF-8.
    QTest::newRow("outside the ANSI code page")
            << "C:\\Pr\xC3\xBC"
               "fung \xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC\\\xF0\x9F\x98\x80"_ba
            << u"C:\\Prüfung Ω 日本\\😀"_s;
    QTest::newRow("lone surrogates") << "a\xED\xA0\x80 \xED\xB0\x80"_ba << u"a\xD800 \xDC00"_s;
    QTest::newRow("low before high is no pair")
            << "\xED\xB0\x80\xED\xA0\x80"_ba << u"\xDC00\xD800"_s;
    QTest::newRow("NUL") << QByteArray() << u"a\0b"_s;
#else
    QTest::newRow("UTF-8") << "/opt/caf\xC3\xA9/\xF0\x9F\x98\x80"_ba << u"/opt/café/😀"_s;
    QTest::newRow("Latin-1") << "caf\xE9\xFF"_ba << u"caf\xDCE9\xDCFF"_s;
    QTest::newRow("cut sequence, stray continuation")
            << "\xE2\x82 \x80"_ba << u"\xDCE2\xDC82 \xDC80"_s;
    QTest::newRow("overlong, surrogate, beyond U+10FFFF")
            << "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"_ba
            << u"\xDCC0\xDCAF\xDCED\xDCA0\xDC80\xDCF4\xDC90\xDC80\xDC80"_s;
    QTest::newRow("NUL") << QByteArray() << u"a\0b"_s;
    QTest::newRow("lone high surrogate") << QByteArray() << u"a\xD800"_s;
    QTest::newRow("escape of an ASCII byte") << QByteArray() << u"\xDC41"_s;
#endif
}

// Whatever bytes a file name holds, they pass through a QString and back unchanged, and valid
// UTF-8 reads as the text it is.
void TestCatalogue::fileNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const std::optional<QByteArray> back = fileNameToBytes(name);
    QCOMPARE(back.has_value(), !bytes.isNull());
    if (bytes.isNull())
        return;
    QCOMPARE(*back, bytes);
    QCOMPARE(fileNameFromBytes(bytes), name);
}

#ifdef Q_OS_WIN
void TestCatalogue::ownFolder_data()
{
    QTest::addColumn<QString>("folder");
    // No ANSI code page holds all of these: the name reaches the system only in UTF-16.
    QTest::newRow("outside the ANSI code page") << u"Prüfung Ω 日本"_s;
}

// The program started from a folder of any name reads the catalogue in that folder, not in its
// working directory.
void TestCatalogue::ownFolder()
{
    QFETCH(QString, folder);
    QTemporaryDir root;
    const QString own = root.filePath(folder);
    const QString cwd = root.filePath(u"cwd"_s);
    const auto writeFile = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(QDir().mkpath(own) && QDir().mkpath(cwd));
    QFile probe(QCoreApplication::applicationFilePath()); // run as a probe, see main()
    QVERIFY(probe.open(QIODevice::ReadOnly));
    QVERIFY(writeFile(own + u"/probe.exe"_s, probe.readAll()));
    QVERIFY(writeFile(own + u"/id.txt"_s, "[ID]\nOwn=1\n"));
    QVERIFY(writeFile(cwd + u"/id.txt"_s, "[ID]\nWorkingDir=4\n"));

    QProcess run;
    run.setWorkingDirectory(cwd);
    run.start(own + u"/probe.exe"_s, {u"--catalogue-probe"_s});
    QVERIFY(run.waitForFinished());
    QCOMPARE(run.readAllStandardError(), QByteArray());
    QCOMPARE(run.readAllStandardOutput(), "Own=1"_ba);
}

// An editor that holds id.txt open for writing while the program runs does not keep the program
// from reading it.
void TestCatalogue::readWhileHeldForWriting()
{
    const QString path = write("[ID]\nHeld=5\n");
    const HANDLE editor
            = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                          GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(editor != INVALID_HANDLE_VALUE);
    const auto close = qScopeGuard([editor] { CloseHandle(editor); });
    QCOMPARE(ReadIni(path, u"ID"_s, u"Held"_s), u"5"_s);
}
#else
void TestCatalogue::ownFolder_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("Latin-1 é and ÿ") << "caf\xE9\xFF"_ba;
    QTest::newRow("an encoded surrogate") << "x\xED\xA0\x80"_ba;
    QTest::newRow("UTF-8") << "caf\xC3\xA9"_ba;
    QTest::newRow("outside any 8-bit code page") << u"Prüfung Ω 日本"_s.toUtf8();
}

// The program started from a folder of any name reads the catalogue in that folder: not the one
// beside the link it was started through, nor in its working directory, nor in the folder that
// a conversion of the name to text and back would give.
void TestCatalogue::ownFolder()
{
    QFETCH(QByteArray, folder);
    QTemporaryDir root;
    const QByteArray base = QFile::encodeName(root.path()) + '/';
    const QByteArray own = base + folder;
    const QByteArray lossy = QFile::encodeName(QFile::decodeName(own));
    // QTemporaryDir removes by text names, which cannot name these folders.
    const auto removeFolders = qScopeGuard([&] {
        for (const QByteArray &dir : {own, lossy}) {
            ::unlink(dir + "/id.txt");
            ::unlink(dir + "/probe");
            ::rmdir(dir.constData());
        }
    });
    QFile probe(QCoreApplication::applicationFilePath()); // run as a probe, see main()
    QVERIFY(probe.open(QIODevice::ReadOnly));
    QVERIFY(::mkdir(own.constData(), 0700) == 0);
    QVERIFY(writeBytes(own + "/probe", probe.readAll(), 0700));
    QVERIFY(writeBytes(own + "/id.txt", "[ID]\nOwn=1\n"));
    if (lossy != own) {
        QVERIFY(::mkdir(lossy.constData(), 0700) == 0);
        QVERIFY(writeBytes(lossy + "/id.txt", "[ID]\nLossy=2\n"));
    }
    QVERIFY(writeBytes(base + "id.txt", "[ID]\nBesideLink=3\n"));
    QVERIFY(QDir(root.path()).mkdir(u"cwd"_s));
    QVERIFY(writeBytes(base + "cwd/id.txt", "[ID]\nWorkingDir=4\n"));
    // Started through a link of plain name; the system names the program by its real folder.
    QVERIFY(::symlink(folder + "/probe", base + "probe") == 0);

    QProcess run;
    run.setWorkingDirectory(root.filePath(u"cwd"_s));
    run.start(root.filePath(u"probe"_s), {u"--catalogue-probe"_s});
    QVERIFY(run.waitForFinished());
    QCOMPARE(run.readAllStandardError(), QByteArray());
    QCOMPARE(run.readAllStandardOutput(), "Own=1"_ba);
}

void TestCatalogue::noProgramFolder_data()
{
    QTest::addColumn<QByteArray>("target"); // null: no link at all
    QTest::newRow("no link") << QByteArray();
    QTest::newRow("a link to no absolute path") << "id.txt"_ba;
}

// When the system does not tell where the program lies, there is no catalogue: in particular
// not the one in the working directory.
void TestCatalogue::noProgramFolder()
{
    QFETCH(QByteArray, target);
    QTemporaryDir dir;
    QVERIFY(writeBytes(QFile::encodeName(dir.filePath(u"id.txt"_s)), "[ID]\nDecoy=1\n"));
    const QByteArray link = QFile::encodeName(dir.filePath(u"program"_s));
    QVERIFY(target.isNull() || ::symlink(target.constData(), link.constData()) == 0);
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });

    const QString catalogue = cataloguePath(link.constData());
    QVERIFY(catalogue.isNull());
    QComboBox list;
    FillListFromIni(list, catalogue, u"ID"_s);
    QCOMPARE(list.count(), 0);
    QCOMPARE(ReadIni(catalogue, u"ID"_s, u"Decoy"_s), QString());
}
#endif

namespace {

struct ItemList
{
    QStringList names;
    void addItem(const QString &name) { names << name; }
};

} // namespace

// Copied into a folder by ownFolder() and started there as a probe, the test reads its catalogue as
// the window does at start-up, and prints the names it lists, then "=" and the first one's id.
int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--catalogue-probe") == 0) {
        const QString catalogue = cataloguePath();
        ItemList list;
        FillListFromIni(list, catalogue, u"ID"_s);
        QString line = list.names.join(u',') + u'=';
        if (!list.names.isEmpty())
            line += ReadIni(catalogue, u"ID"_s, list.names.first());
        return std::fputs(line.toUtf8().constData(), stdout) < 0;
    }
    QApplication app(argc, argv);
    TestCatalogue test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_catalogue.moc"
