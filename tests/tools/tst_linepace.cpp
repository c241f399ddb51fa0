// The pace at which the simulated board's bytes arrive at a given baud rate.
#include "linepace.h"

#include <QTest>

namespace {

constexpr std::int64_t kMs = 1'000'000;

} // namespace

class TstLinePace : public QObject
{
    Q_OBJECT
private slots:
    // Ten bytes queued at 0; how many have arrived at each time (ns).
    void bytesArriveTenBitTimesApart_data()
    {
        QTest::addColumn<qint64>("baud");
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<QList<qsizetype>>("arrived");
        // 4800 baud: 480 bytes a second, one every 2.083 ms.
        QTest::newRow("4800 first byte") << qint64(4800) << QList<qint64>{0, 2083333, 2083334}
                                         << QList<qsizetype>{0, 0, 1};
        QTest::newRow("4800 ten bytes") << qint64(4800) << QList<qint64>{10 * kMs, 20 * kMs, 21 * kMs}
                                        << QList<qsizetype>{4, 9, 10};
        QTest::newRow("late taker gets all at once") << qint64(4800) << QList<qint64>{3600'000 * kMs}
                                                     << QList<qsizetype>{10};
        QTest::newRow("115200") << qint64(115200) << QList<qint64>{kMs / 2, kMs} << QList<qsizetype>{5, 10};
        QTest::newRow("1 baud") << qint64(1) << QList<qint64>{9999 * kMs, 10000 * kMs} << QList<qsizetype>{0, 1};
    }

    void bytesArriveTenBitTimesApart()
    {
        QFETCH(qint64, baud);
        QFETCH(QList<qint64>, times);
        QFETCH(QList<qsizetype>, arrived);
        TLinePace pace(baud, 64);
        QCOMPARE(pace.Queue("0123456789", 0), 10);
        QByteArray taken;
        QList<qsizetype> counts;
        for (const qint64 now : times) {
            taken += pace.Take(now);
            counts << taken.size();
        }
        QCOMPARE(counts, arrived);
        QCOMPARE(taken, QByteArray("0123456789").left(arrived.last()));
    }

    void nextArrivalIsWhenTheNextByteIsDone()
    {
        TLinePace pace(4800, 64);
        QCOMPARE(pace.NextArrivalNs(), -1);
        pace.Queue("ab", 5 * kMs);
        QCOMPARE(pace.NextArrivalNs(), 5 * kMs + 2083334);
        QCOMPARE(pace.Take(pace.NextArrivalNs()), QByteArray("a"));
        QCOMPARE(pace.NextArrivalNs(), 5 * kMs + 4166667);
        // Bytes sent while the line is busy follow the ones before them.
        pace.Queue("c", 6 * kMs);
        QCOMPARE(pace.Take(5 * kMs + 6250000), QByteArray("bc"));
        QCOMPARE(pace.NextArrivalNs(), -1);
        // An idle line starts a new byte at once.
        pace.Queue("d", 100 * kMs);
        QCOMPARE(pace.Take(102 * kMs), QByteArray());
        QCOMPARE(pace.Take(103 * kMs), QByteArray("d"));
    }

    // A line that never falls idle for 100 s neither drifts nor stalls.
    void longRunKeepsItsPace()
    {
        TLinePace pace(9600, 2000);
        pace.Queue(QByteArray(960, 'x'), 0);
        qint64 arrived = 0;
        for (qint64 second = 1; second <= 100; ++second) {
            pace.Queue(QByteArray(960, 'x'), (second * 1000 - 500) * kMs);
            arrived += pace.Take(second * 1000 * kMs).size();
            QCOMPARE(arrived, second * 960);
        }
    }

    void fullQueueDropsTheRest()
    {
        TLinePace pace(4800, 4);
        QCOMPARE(pace.Queue("abcdef", 0), 4);
        QCOMPARE(pace.Queue("g", 0), 0);
        QCOMPARE(pace.Take(3 * kMs), QByteArray("a"));
        QCOMPARE(pace.Queue("gh", 3 * kMs), 1);
        QCOMPARE(pace.Take(kMs * 1000), QByteArray("bcdg"));
    }
};

QTEST_GUILESS_MAIN(TstLinePace)
#include "tst_linepace.moc"
