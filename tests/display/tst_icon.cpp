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
    void lettersAreBlackOnOpaqueLightBlue()
    {
        const QImage icon = quennelIcon();
        QVERIFY2(!icon.isNull(), "the icon's pixels are not linked into the executable");
        QCOMPARE(icon.size(), QSize(252, 252));
        QCOMPARE(icon.format(), QImage::Format_RGB888); // 24 bits, no alpha channel
        const QColor ground(0, 162, 232);
        const QColor black(Qt::black);
        // The corner, the Q's centre, left side and tail, inside the N and its right stem.
        for (const auto &[pixel, colour] : {std::pair{QPoint(2, 2), ground},
                                            {QPoint(69, 125), ground},
                                            {QPoint(27, 125), black},
                                            {QPoint(110, 212), black},
                                            {QPoint(190, 60), ground},
                                            {QPoint(224, 60), black}})
            QCOMPARE(icon.pixelColor(pixel), colour);
    }
};

QTEST_GUILESS_MAIN(TestIcon)
#include "tst_icon.moc"
