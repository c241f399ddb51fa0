#include "readpacing.h"

#include <QTest>

#include <limits>

namespace {

constexpr qint64 kMs = 1'000'000;
constexpr int kMax = TReadPacing::kMaxHoldOffMs;

struct TDrain
{
    int bytes;
    int gapMs;
    bool backlog;
};

} // namespace

Q_DECLARE_METATYPE(QList<TDrain>)

class TstReadPacing : public QObject
{
    Q_OBJECT
private slots:
    // Each row: the drains in order (bytes read since the previous one, milliseconds since it,
    // whether the wake-up began with a full read) and the pause each one gets.
    void pauseFollowsTheRate_data()
    {
        QTest::addColumn<QList<TDrain>>("drains");
        QTest::addColumn<QList<int>>("pauses");
        QTest::newRow("115200 baud is read once a frame")
            << QList<TDrain>{{12, 0, false}, {190, 16, false}, {190, 16, false}} << QList<int>{kMax, kMax, kMax};
        QTest::newRow("1.5 MB/s piles no more than the limit")
            << QList<TDrain>{{1000, 0, false}, {12000, 8, false}, {12000, 8, false}} << QList<int>{kMax, 10, 10};
        QTest::newRow("a pile still being read is not judged")
            << QList<TDrain>{{100, 0, false}, {4000, 6, true}, {4000, 0, true}, {5000, 1, false}}
            << QList<int>{kMax, 0, 0, 8};
        QTest::newRow("a queue that filled during a pause is a flood")
            << QList<TDrain>{{100, 0, false}, {4000, 16, true}, {16000, 1, false}, {4000, 1, false}}
            << QList<int>{kMax, 0, 0, 0};
        QTest::newRow("a flood is judged over a frame")
            << QList<TDrain>{{100, 0, false}, {19000, 16, false}, {100, 1, false}, {100, 18, false}, {100, 2, false}}
            << QList<int>{kMax, 0, 0, 0, kMax};
        QTest::newRow("a flood that keeps up stays a flood")
            << QList<TDrain>{{100, 0, false}, {19000, 16, false}, {40000, 8, false}, {40000, 9, false}, {100, 1, false}}
            << QList<int>{kMax, 0, 0, 0, 0};
        QTest::newRow("a burst after silence is not a flood")
            << QList<TDrain>{{10, 0, false}, {12000, 5000, false}} << QList<int>{kMax, kMax};
        QTest::newRow("a stalled clock")
            << QList<TDrain>{{100, 0, false}, {100, 0, false}} << QList<int>{kMax, kMax};
        QTest::newRow("nothing read") << QList<TDrain>{{0, 0, false}, {0, 3, false}} << QList<int>{kMax, kMax};
    }
    void pauseFollowsTheRate()
    {
        QFETCH(QList<TDrain>, drains);
        QFETCH(QList<int>, pauses);
        TReadPacing pacing;
        qint64 now = 1000 * kMs;
        for (int i = 0; i < drains.size(); ++i) {
            now += drains[i].gapMs * kMs;
            // A drain usually follows several reads.
            pacing.Count(drains[i].bytes / 2);
            pacing.Count(drains[i].bytes - drains[i].bytes / 2);
            QCOMPARE(pacing.HoldOffAfterDrain(now, drains[i].backlog), pauses[i]);
        }
    }

    void resetForgetsTheFlood()
    {
        TReadPacing pacing;
        pacing.Count(30000);
        QCOMPARE(pacing.HoldOffAfterDrain(10 * kMs, false), 0);
        pacing.Reset();
        pacing.Count(100);
        QCOMPARE(pacing.HoldOffAfterDrain(11 * kMs, false), kMax);
    }

    void hugeCountsDoNotOverflow()
    {
        TReadPacing pacing;
        QCOMPARE(pacing.HoldOffAfterDrain(kMs, false), kMax);
        for (int i = 0; i < 10; ++i)
            pacing.Count(std::numeric_limits<int>::max());
        QCOMPARE(pacing.HoldOffAfterDrain(kMs + 1, false), 0);
        pacing.Count(-5);
        QCOMPARE(pacing.HoldOffAfterDrain(1000 * kMs, false), kMax);
    }
};

QTEST_GUILESS_MAIN(TstReadPacing)
#include "tst_readpacing.moc"
