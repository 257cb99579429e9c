#include "catalogue.h"

#include <QComboBox>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Any list with addItem(const QString &) can be filled, not only a combo box.
struct NameList
{
    QStringList items;
    void addItem(const QString &name) { items << name; }
};

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void readIni_data();
    void readIni();
    void fillList_data();
    void fillList();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TestCatalogue::write(const QByteArray &bytes)
{
    QString path = m_dir.filePath(u"id%1.txt"_s.arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

static const QStringList itemNames{u"Wood"_s, u"Épée"_s, u"Straße €"_s, u"x\u0081y"_s};
static const QStringList itemIds{u"12"_s, u"7"_s, u"8"_s, u"9"_s};

void TestCatalogue::roundTrip_data()
{
    QTest::addColumn<QByteArray>("file");
    // A stray key before the header and a second section must not reach the list.
    const QString text = u"Ghost=0\n[Other]\nWood=99\n[ID]\nWood=12\nÉpée = 7\nStraße €=8\n"
                         u"x\u0081y=\"9\"\n[Other]\nLate=1\n"_s;
    const QByteArray cp1252 = "Ghost=0\n[Other]\nWood=99\n[ID]\nWood=12\n\xC9p\xE9"
                              "e = 7\nStra\xDF"
                              "e \x80=8\nx\x81y=\"9\"\n[Other]\nLate=1\n"_ba;
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
        for (const auto &[encoding, bytes] : files)
            QTest::newRow(qPrintable(encoding + u' ' + QLatin1String(endName))) << bytes;
    }
}

// Every name a combo box shows finds its own id again, whatever the file's encoding.
void TestCatalogue::roundTrip()
{
    QFETCH(QByteArray, file);
    const QString path = write(file);
    QComboBox list;
    FillListFromIni(list, path, u"ID"_s);
    QStringList shown;
    QStringList ids;
    for (int i = 0; i < list.count(); ++i) {
        shown << list.itemText(i);
        ids << ReadIni(path, u"ID"_s, list.itemText(i));
    }
    QCOMPARE(shown, itemNames);
    QCOMPARE(ids, itemIds);
}

void TestCatalogue::readIni_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file at all
    QTest::addColumn<QString>("key");     // null: the key list
    QTest::addColumn<QString>("expected");

    const QByteArray longValue(40000, 'v');
    QTest::newRow("value cut to 32,766")
            << "[ID]\nLong="_ba + longValue << u"long"_s << QString(32766, u'v');
    QTest::newRow("missing file gives empty") << QByteArray() << u"Wood"_s << u""_s;
    QTest::newRow("missing section gives empty") << "[X]\nWood=1"_ba << u"Wood"_s << u""_s;
    QTest::newRow("missing key gives empty") << "[ID]\nWood=1"_ba << u"Oak"_s << u""_s;
    QTest::newRow("empty value gives empty") << "[ID]\nWood="_ba << u"Wood"_s << u""_s;
    QTest::newRow("empty key is a name") << "[ID]\n=5\nab=1"_ba << u""_s << u"5"_s;
    QTest::newRow("null key lists the names") << "[ID]\n=5\nab=1"_ba << QString() << u"\0ab\0"_s;
    QTest::newRow("valid UTF-8 read as UTF-8")
            << "[ID]\nCaf\xC3\xA9=1"_ba << QString() << u"Café\0"_s;
    QTest::newRow("overlong UTF-8 read as Windows-1252")
            << "[ID]\n\xE0\x80\xAF=1"_ba << QString() << u"à€¯\0"_s;
    QTest::newRow("encoded surrogate read as Windows-1252")
            << "[ID]\n\xED\xA0\x80=2"_ba << QString() << u"í\u00A0€\0"_s;
    QTest::newRow("other bytes read as Windows-1252")
            << "[ID]\nCaf\xC3\xA9=1\n\xE9=\x80\x8D"_ba << u"é"_s << u"€\u008D"_s;
}

void TestCatalogue::readIni()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString path = file.isNull() ? m_dir.filePath(u"absent.txt"_s) : write(file);
    QCOMPARE(ReadIni(path, u"ID"_s, key), expected);
}

void TestCatalogue::fillList_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected"); // after the entry "kept"
    QTest::addColumn<int>("listLength");

    QByteArray many = "[ID]\n"_ba;
    QStringList whole{u"kept"_s};
    for (int i = 0; i < 400; ++i) {
        const QByteArray name = QByteArray::number(1000 + i) + QByteArray(96, 'n');
        many += name + "=1\n";
        if ((i + 1) * 101 <= 32765)
            whole << QString::fromLatin1(name);
    }
    QTest::newRow("appended in file order")
            << "[ID]\nb=1\na=2"_ba << QStringList{u"kept"_s, u"b"_s, u"a"_s} << 4;
    QTest::newRow("nothing from an empty section")
            << "[ID]\n[X]\na=1"_ba << QStringList{u"kept"_s} << 0;
    QTest::newRow("nothing trimmed, skipped or merged")
            << "[ID]\n=1\n\xC2\xA0x\xC2\xA0=2"_ba
            << QStringList{u"kept"_s, u""_s, u"\u00A0x\u00A0"_s} << 5;
    QTest::newRow("only names that arrived whole") << many << whole << 32765;
}

void TestCatalogue::fillList()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QFETCH(int, listLength);
    const QString path = write(file);
    NameList list;
    list.items << u"kept"_s;
    FillListFromIni(list, path, u"ID"_s);
    QCOMPARE(list.items, expected);
    QCOMPARE(ReadIni(path, u"ID"_s, QString()).size(), listLength);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
