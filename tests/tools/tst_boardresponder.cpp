// What the simulated board answers.
#include "boardresponder.h"

#include <QTest>

class TstBoardResponder : public QObject
{
    Q_OBJECT
private slots:
    void answers_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("AT") << QByteArrayList{"AT\r"} << QByteArray("AT\rOK\r\n");
        QTest::newRow("lower case") << QByteArrayList{"at\r"} << QByteArray("at\rOK\r\n");
        QTest::newRow("split over reads") << QByteArrayList{"A", "T", "\r"} << QByteArray("AT\rOK\r\n");
        QTest::newRow("after a line feed") << QByteArrayList{"x\r\nAT\r"} << QByteArray("x\r\nAT\rOK\r\n");
        QTest::newRow("twice") << QByteArrayList{"AT\rAT\r"} << QByteArray("AT\rOK\r\nAT\rOK\r\n");
        QTest::newRow("other command") << QByteArrayList{"ATZ\r"} << QByteArray("ATZ\r");
        QTest::newRow("no CR yet") << QByteArrayList{"AT"} << QByteArray("AT");
        QTest::newRow("line feed only") << QByteArrayList{"AT\n"} << QByteArray("AT\n");
        QTest::newRow("binary echoed") << QByteArrayList{QByteArray("\0\xff\x11", 3)} << QByteArray("\0\xff\x11", 3);
    }

    void answers()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArray, expected);
        TBoardResponder responder;
        QByteArray answer;
        for (const QByteArray &chunk : chunks)
            answer += responder.Answer(chunk);
        QCOMPARE(answer, expected);
    }

    void endlessLineStaysBounded()
    {
        TBoardResponder responder;
        const QByteArray junk(TBoardResponder::kMaxLine * 4, 'x');
        QCOMPARE(responder.Answer(junk), junk);
        QCOMPARE(responder.Answer("\rAT\r"), QByteArray("\rAT\rOK\r\n"));
    }

};

QTEST_GUILESS_MAIN(TstBoardResponder)
#include "tst_boardresponder.moc"
