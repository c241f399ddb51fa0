#include "readpacing.h"

#include <QTest>

namespace {

constexpr qint64 kMs = 1'000'000;

} // namespace

class TReadPacingTest : public QObject
{
    Q_OBJECT
private slots:
    // Each row: bytes read before each drain, with the milliseconds since the previous drain.
    void pauseFollowsTheRate_data()
    {
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QList<int>>("gapsMs");
        QTest::addColumn<QList<int>>("pauses");
        const int hold = TReadPacing::kHoldOffMs;
        QTest::newRow("a trickle is paced") << QList<int>{12, 96, 96} << QList<int>{0, 8, 8}
                                            << QList<int>{hold, hold, hold};
        QTest::newRow("1 MB/s still fits a pause") << QList<int>{1000, 9000, 9000}
                                                   << QList<int>{0, 9, 9} << QList<int>{hold, hold, hold};
        QTest::newRow("a flood is read at once") << QList<int>{20000, 20000, 6000}
                                                 << QList<int>{0, 8, 1} << QList<int>{0, 0, 0};
        QTest::newRow("a flood that stops is paced again") << QList<int>{20000, 20000, 100}
                                                           << QList<int>{0, 8, 50} << QList<int>{0, 0, hold};
        QTest::newRow("a burst after silence is not a flood") << QList<int>{10, 16000}
                                                              << QList<int>{0, 5000} << QList<int>{hold, hold};
        QTest::newRow("a stalled clock") << QList<int>{100, 100, 20000} << QList<int>{0, 0, 0}
                                         << QList<int>{hold, hold, 0};
    }
    void pauseFollowsTheRate()
    {
        QFETCH(QList<int>, bytes);
        QFETCH(QList<int>, gapsMs);
        QFETCH(QList<int>, pauses);
        TReadPacing pacing;
        qint64 now = 1000 * kMs;
        for (int i = 0; i < bytes.size(); ++i) {
            now += gapsMs[i] * kMs;
            // A drain usually follows several reads.
            pacing.Count(bytes[i] / 2);
            pacing.Count(bytes[i] - bytes[i] / 2);
            QCOMPARE(pacing.HoldOffAfterDrain(now), pauses[i]);
        }
    }

    void resetForgetsTheRate()
    {
        TReadPacing pacing;
        pacing.Count(30000);
        QCOMPARE(pacing.HoldOffAfterDrain(10 * kMs), 0);
        pacing.Count(30000);
        pacing.Reset();
        pacing.Count(100);
        QCOMPARE(pacing.HoldOffAfterDrain(11 * kMs), TReadPacing::kHoldOffMs);
    }

    void hugeCountsDoNotOverflow()
    {
        TReadPacing pacing;
        QCOMPARE(pacing.HoldOffAfterDrain(kMs), TReadPacing::kHoldOffMs);
        for (int i = 0; i < 10; ++i)
            pacing.Count(std::numeric_limits<int>::max());
        QCOMPARE(pacing.HoldOffAfterDrain(kMs + 1), 0);
        pacing.Count(-5);
        QCOMPARE(pacing.HoldOffAfterDrain(1000 * kMs), TReadPacing::kHoldOffMs);
    }
};

QTEST_GUILESS_MAIN(TReadPacingTest)
#include "tst_readpacing.moc"
