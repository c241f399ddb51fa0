// The payload and pace of the simulated board's flood mode.
#include "floodsource.h"

#include <QTest>

class TstFloodSource : public QObject
{
    Q_OBJECT
private slots:
    void generatedLinesAreNumbered64Bytes()
    {
        TFloodSource source(1000);
        const QByteArray bytes = source.Next(64 * 3 + 10);
        const QList<QByteArray> lines = bytes.left(64 * 3).split('\n');
        QCOMPARE(lines.size(), 4);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(lines[i].size() + 1, 64);
            QVERIFY(lines[i].endsWith('\r'));
            QVERIFY(lines[i].startsWith(QByteArray::number(i + 1).rightJustified(8, '0') + ' '));
        }
        QCOMPARE(source.Next(54).right(2), QByteArray("\r\n"));
    }

    void patternRepeatsAcrossTakes()
    {
        TFloodSource source(1000, "abc");
        const QByteArray first = source.Next(4);
        QCOMPARE(first + source.Next(5), QByteArray("abcabcabc"));
    }

    void paceFollowsRate_data()
    {
        QTest::addColumn<qsizetype>("room");
        QTest::addColumn<QList<qint64>>("elapsed");
        QTest::addColumn<QList<qsizetype>>("sizes");
        QTest::newRow("steady") << qsizetype(4096) << QList<qint64>{10, 20, 30} << QList<qsizetype>{100, 100, 100};
        QTest::newRow("no time passed") << qsizetype(4096) << QList<qint64>{0, 0} << QList<qsizetype>{0, 0};
        // After a stall only a fifth of a second is owed, not the whole backlog.
        QTest::newRow("stall") << qsizetype(4096) << QList<qint64>{10, 5000} << QList<qsizetype>{100, 2000};
        QTest::newRow("capped by room") << qsizetype(512) << QList<qint64>{1000, 1001} << QList<qsizetype>{512, 512};
    }

    void paceFollowsRate()
    {
        QFETCH(qsizetype, room);
        QFETCH(QList<qint64>, elapsed);
        QFETCH(QList<qsizetype>, sizes);
        TFloodSource source(10000);
        QList<qsizetype> taken;
        for (const qint64 ms : elapsed)
            taken << source.Take(ms, room).size();
        QCOMPARE(taken, sizes);
    }

};

QTEST_GUILESS_MAIN(TstFloodSource)
#include "tst_floodsource.moc"
