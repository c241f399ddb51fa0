#include "screenfit.h"

#include <QtTest>

namespace {

// A window system that puts a 20-pixel title bar and thin borders around every window.
const QMargins kFrame(1, 20, 1, 5);
const QRect kPrimary(0, 0, 1440, 900);
// Right of the primary screen, taller, with a panel along its top.
const QRect kSecond(1440, 30, 1920, 1050);

} // namespace

class TstScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void storedRectangleIsKeptWhereItCanBeSeen_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("fits: unchanged") << QRect(100, 100, 703, 477) << QRect(100, 100, 703, 477);
        QTest::newRow("across both screens: unchanged") << QRect(1000, 200, 703, 477) << QRect(1000, 200, 703, 477);
        QTest::newRow("title bar above the top") << QRect(100, 10, 703, 477) << QRect(100, 20, 703, 477);
        QTest::newRow("under the second screen's panel") << QRect(2000, 40, 703, 477) << QRect(2000, 50, 703, 477);
        QTest::newRow("past the bottom") << QRect(300, 700, 703, 477) << QRect(300, 900 - 5 - 477, 703, 477);
        QTest::newRow("past the right and bottom") << QRect(3000, 900, 703, 477)
                                                  << QRect(3360 - 1 - 703, 1080 - 5 - 477, 703, 477);
        QTest::newRow("mostly on the second screen") << QRect(1300, 880, 500, 100) << QRect(1441, 880, 500, 100);
        QTest::newRow("far up and left: the primary") << QRect(-5000, -5000, 703, 477) << QRect(1, 20, 703, 477);
        QTest::newRow("far right: the second") << QRect(9000, 500, 703, 477)
                                              << QRect(3360 - 1 - 703, 500, 703, 477);
        QTest::newRow("larger than any screen") << QRect(100, 100, 10000, 10000)
                                               << QRect(1441, 50, 1920 - 2, 1050 - 25);
        QTest::newRow("larger, on the primary") << QRect(-10, -10, 1500, 1000) << QRect(1, 20, 1438, 875);
    }
    void storedRectangleIsKeptWhereItCanBeSeen()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, fitted);
        QCOMPARE(ScreenFit::FitToWorkAreas(stored, kFrame, {kPrimary, kSecond}), fitted);
    }

    void withoutScreensNothingMoves()
    {
        const QRect far(-5000, -5000, 10000, 10000);
        QCOMPARE(ScreenFit::FitToWorkAreas(far, kFrame, {}), far);
    }
};

QTEST_GUILESS_MAIN(TstScreenFit)
#include "tst_screenfit.moc"
