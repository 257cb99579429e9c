#include <QColor>
#include <QFile>
#include <QImage>
#include <QTest>

// The window links quennelresources for its icon; these checks run on an executable that links only
// that library, so a resource lost at link time or a wrongly drawn image shows up here first.
class TestIcon : public QObject
{
    Q_OBJECT

private slots:
    void windowIconIsLinkedAndOpaque();
    void lettersAreBlackOnLightBlue_data();
    void lettersAreBlackOnLightBlue();
};

void TestIcon::windowIconIsLinkedAndOpaque()
{
    const QImage icon(QStringLiteral(":/icons/quennel.png"));
    QVERIFY2(!icon.isNull(), "the resource is not linked into the executable");
    QCOMPARE(icon.size(), QSize(252, 252));
    QCOMPARE(icon.hasAlphaChannel(), false);
    // The file itself: PNG header bit depth 8 and colour type 2, three 8-bit channels, no alpha.
    QFile file(QStringLiteral(":/icons/quennel.png"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(26);
    QCOMPARE(header.size(), 26);
    QCOMPARE(int(header.at(24)), 8);
    QCOMPARE(int(header.at(25)), 2);
}

void TestIcon::lettersAreBlackOnLightBlue_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor ground(0, 162, 232);
    QTest::newRow("corner is ground") << QPoint(2, 2) << ground;
    QTest::newRow("centre of the Q is ground") << QPoint(69, 125) << ground;
    QTest::newRow("left of the Q is black") << QPoint(27, 125) << QColor(Qt::black);
    QTest::newRow("tail of the Q is black") << QPoint(110, 212) << QColor(Qt::black);
    QTest::newRow("left stem of the N is black") << QPoint(150, 180) << QColor(Qt::black);
    QTest::newRow("right stem of the N is black") << QPoint(224, 60) << QColor(Qt::black);
    QTest::newRow("inside the N is ground") << QPoint(190, 60) << ground;
}

void TestIcon::lettersAreBlackOnLightBlue()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const QImage icon(QStringLiteral(":/icons/quennel.png"));
    QCOMPARE(icon.pixelColor(pixel), colour);
}

QTEST_GUILESS_MAIN(TestIcon)
#include "tst_icon.moc"
