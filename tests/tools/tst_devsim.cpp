// The simulated board as a program: what it publishes, what it answers, what it leaves behind.
#include "commportdriver.h"
#include "comportmap.h"
#include "devsimprocess.h"
#include "tempconfighome.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

namespace {

// Collects what the driver receives, and when each read ended.
struct TReceiver {
    QByteArray bytes;
    QList<qsizetype> readEnds;
    QList<qint64> readTimesNs;
    QElapsedTimer clock;
    void Attach(TCommPortDriver &driver)
    {
        clock.start();
        driver.SetComPortPollingDelay(0);
        driver.OnReceiveData = [this](QObject *, const void *data, int size) {
            bytes.append(static_cast<const char *>(data), size);
            readEnds << bytes.size();
            readTimesNs << clock.nsecsElapsed();
        };
    }
};

// devsim on one COM port under a temporary configuration, and a driver on that port that
// collects what arrives.
struct TBoardOnPort {
    TTempConfigHome home;
    TDevSimProcess devsim;
    TCommPortDriver driver;
    TReceiver receiver;

    TBoardOnPort(TComPortNumber port, const QStringList &options)
        : devsim(DEVSIM_PATH, QStringList{"--com", QString::number(port + 1)} + options)
    {
        driver.SetComPort(port);
        receiver.Attach(driver);
    }
};

} // namespace

class TstDevSim : public QObject
{
    Q_OBJECT
private slots:
    void portMapEntryIsWhatTheDriverOpens()
    {
        TTempConfigHome home;
        TDevSimProcess devsim(DEVSIM_PATH, {"--com", "3", "--quiet"});
        const QString path = devsim.DevicePath();
        QVERIFY(!path.isEmpty());
        QCOMPARE(TComPortMap().DevicePath("COM3"), path);
        TCommPortDriver driver;
        driver.SetComPort(pnCOM3);
        QVERIFY(driver.OpenPort());
        QCOMPARE(driver.LastOpenDevice(), path);
        // Between clients the board keeps its end open, so the next client finds it answering.
        driver.ClosePort();
        TReceiver receiver;
        receiver.Attach(driver);
        QVERIFY(driver.OpenPort());
        QVERIFY(driver.WriteText("AT\r"));
        QTRY_COMPARE_WITH_TIMEOUT(receiver.bytes, QByteArray("AT\rOK\r\n"), 10000);
    }

    void answersAtAndEchoes_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("AT") << QByteArray("AT\r") << QByteArray("AT\rOK\r\n");
        QTest::newRow("echo") << QByteArray("hello, board") << QByteArray("hello, board");
        QTest::newRow("binary echo") << QByteArray("\x00\x7f\x80\xff\r\n", 6) << QByteArray("\x00\x7f\x80\xff\r\n", 6);
    }

    void answersAtAndEchoes()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, answer);
        TBoardOnPort board(pnCOM1, {"--quiet"});
        QVERIFY(!board.devsim.DevicePath().isEmpty());
        QVERIFY(board.driver.OpenPort());
        QVERIFY(board.driver.WriteText(sent));
        QTRY_COMPARE_WITH_TIMEOUT(board.receiver.bytes.size(), answer.size(), 10000);
        QCOMPARE(board.receiver.bytes, answer);
    }

    void sendsSensorLinesUnlessQuiet()
    {
        TBoardOnPort board(pnCOM2, {});
        QVERIFY(!board.devsim.DevicePath().isEmpty());
        QVERIFY(board.driver.OpenPort());
        const QByteArray &bytes = board.receiver.bytes;
        QTRY_VERIFY_WITH_TIMEOUT(bytes.count('\n') >= 1, 10000);
        const QByteArray line = bytes.left(bytes.indexOf('\n') + 1);
        QVERIFY2(QRegularExpression("^T=\\d+\\.\\dC H=\\d+%\r\n$").match(QString::fromLatin1(line)).hasMatch(),
                 line.constData());
    }

    // At 4800 baud a byte takes 2.083 ms: an echo of 100 bytes cannot be back in less than 208 ms,
    // and comes in over many reads.
    void baudRateTricklesWhatTheBoardSends()
    {
        TBoardOnPort board(pnCOM3, {"--quiet", "--baud", "4800"});
        QVERIFY(!board.devsim.DevicePath().isEmpty());
        QVERIFY(board.driver.OpenPort());
        const QByteArray sent = QByteArray("0123456789").repeated(10);
        const qint64 sentAt = board.receiver.clock.nsecsElapsed();
        QVERIFY(board.driver.WriteText(sent));
        QTRY_COMPARE_WITH_TIMEOUT(board.receiver.bytes.size(), sent.size(), 10000);
        QCOMPARE(board.receiver.bytes, sent);
        QVERIFY(board.receiver.readTimesNs.last() - sentAt >= sent.size() * 10 * qint64(1'000'000'000) / 4800);
        QVERIFY2(board.receiver.readEnds.size() >= 10, qPrintable(QString::number(board.receiver.readEnds.size())));
    }

    void floodSendsLinesAtRate()
    {
        TBoardOnPort board(pnCOM4, {"--flood", "50000"});
        QVERIFY(!board.devsim.DevicePath().isEmpty());
        QVERIFY(board.driver.OpenPort());
        const QByteArray &bytes = board.receiver.bytes;
        QTRY_VERIFY_WITH_TIMEOUT(bytes.size() >= 64 * 20, 10000);
        // The driver's open may have cut into a line; from the first whole one on, all are 64 bytes.
        const QByteArray whole = bytes.mid(bytes.indexOf('\n') + 1);
        const QList<QByteArray> lines = whole.left(whole.size() / 64 * 64).split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            QCOMPARE(lines[i].size(), 63);
    }

    void restoresEarlierMapEntryOnExit_data()
    {
        QTest::addColumn<std::optional<QString>>("earlier");
        QTest::newRow("earlier entry") << std::optional<QString>("/dev/ttyUSB7");
        QTest::newRow("no entry") << std::optional<QString>();
    }

    void restoresEarlierMapEntryOnExit()
    {
        QFETCH(std::optional<QString>, earlier);
        TTempConfigHome home;
        if (earlier)
            QVERIFY(TComPortMap().Assign("COM5", *earlier));
        TDevSimProcess devsim(DEVSIM_PATH, {"--com", "5", "--quiet"});
        const QString path = devsim.DevicePath();
        QCOMPARE(TComPortMap().DevicePath("COM5"), path);
        QVERIFY(devsim.Stop());
        QCOMPARE(TComPortMap().StoredPath("COM5"), earlier);
    }

    void rejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("port 0") << QStringList{"--com", "0"};
        QTest::newRow("port 7") << QStringList{"--com", "7"};
        QTest::newRow("port text") << QStringList{"--com", "one"};
        QTest::newRow("negative rate") << QStringList{"--flood", "-5"};
        QTest::newRow("baud 0") << QStringList{"--baud", "0"};
        QTest::newRow("baud beyond any line") << QStringList{"--baud", "4000001"};
        QTest::newRow("missing payload") << QStringList{"--flood", "10", "--payload", "/nonexistent/payload"};
        QTest::newRow("unknown option") << QStringList{"--bogus"};
    }

    void rejectsBadArguments()
    {
        QFETCH(QStringList, arguments);
        TTempConfigHome home;
        QProcess process;
        process.start(QStringLiteral(DEVSIM_PATH), arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY(!process.readAllStandardError().isEmpty());
    }

};

QTEST_GUILESS_MAIN(TstDevSim)
#include "tst_devsim.moc"
