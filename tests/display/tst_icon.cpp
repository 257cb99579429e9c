// SPDX-License-Identifier: GPL-3.0-or-later
#include "quennelicon.h"

#include <QColor>
#include <QTest>

// The window links quennelresources for its icon; these checks run on an executable that links only
// that library, so pixels lost at link time or a wrongly drawn image show up here first.
class TestIcon : public QObject
{
    Q_OBJECT

private slots:
    void lettersAreBlackOnOpaqueLightBlue_data();
    void lettersAreBlackOnOpaqueLightBlue();
};

void TestIcon::lettersAreBlackOnOpaqueLightBlue_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor ground(0, 162, 232);
    QTest::newRow("corner is ground") << QPoint(2, 2) << ground;
    QTest::newRow("centre of the Q is ground") << QPoint(69, 125) << ground;
    QTest::newRow("left of the Q is black") << QPoint(27, 125) << QColor(Qt::black);
    QTest::newRow("tail of the Q is black") << QPoint(110, 212) << QColor(Qt::black);
    QTest::newRow("right stem of the N is black") << QPoint(224, 60) << QColor(Qt::black);
    QTest::newRow("inside the N is ground") << QPoint(190, 60) << ground;
}

void TestIcon::lettersAreBlackOnOpaqueLightBlue()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const QImage icon = quennelIcon();
    QVERIFY2(!icon.isNull(), "the icon's pixels are not linked into the executable");
    QCOMPARE(icon.size(), QSize(252, 252));
    QCOMPARE(icon.format(), QImage::Format_RGB888); // 24 bits, no alpha channel
    QCOMPARE(icon.pixelColor(pixel), colour);
}

QTEST_GUILESS_MAIN(TestIcon)
#include "tst_icon.moc"
