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

    // Sent on a busy line, bytes follow the ones before; on an idle one they start at once. A
    // full queue drops what does not fit.
    void bytesQueueBehindTheLine()
    {
        TLinePace pace(4800, 3);
        QCOMPARE(pace.NextArrivalNs(), -1);
        QCOMPARE(pace.Queue("abcd", 5 * kMs), 3);
        QCOMPARE(pace.NextArrivalNs(), 5 * kMs + 2083334);
        QCOMPARE(pace.Take(pace.NextArrivalNs()), QByteArray("a"));
        QCOMPARE(pace.Queue("de", 6 * kMs), 1);
        QCOMPARE(pace.Take(5 * kMs + 8333334), QByteArray("bcd"));
        QCOMPARE(pace.NextArrivalNs(), -1);
        pace.Queue("f", 100 * kMs);
        QCOMPARE(pace.Take(102 * kMs), QByteArray());
        QCOMPARE(pace.Take(103 * kMs), QByteArray("f"));
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
};

QTEST_GUILESS_MAIN(TstLinePace)
#include "tst_linepace.moc"
