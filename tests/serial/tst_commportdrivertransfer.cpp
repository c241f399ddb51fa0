// Receiving, sending, purging, the modem lines and losing the device, checked on the recording platform.
#include "driverfixture.h"

#include "nothinghappens.h"
#include "writablewatch.h"

#include <QTest>

#include <functional>

using TDriverAction = std::function<void(TCommPortDriver &)>;

class TstCommPortDriverTransfer : public QObject
{
    Q_OBJECT
private slots:
    void pollDeliversBlocksInOrder();
    void pollWithoutHandlerStillReads();
    void idlePollRaisesNothing();
    void writeBytes_data();
    void writeBytes();
    void writeTimeoutWorksAcrossClockWrap();
    void writeAvailableNeverWaits_data();
    void writeAvailableNeverWaits();
    void outputReadyComesOnceFromTheEventLoop_data();
    void outputReadyComesOnceFromTheEventLoop();
    void writeText_data();
    void writeText();
    void outputFreeSpace_data();
    void outputFreeSpace();
    void purgeBits_data();
    void purgeBits();
    void modemLineCodes();
    void lostDeviceClosesOnce_data();
    void lostDeviceClosesOnce();
};

void TstCommPortDriverTransfer::pollDeliversBlocksInOrder()
{
    TDriverOnFake f;
    QByteArray sent(5000, Qt::Uninitialized);
    for (int i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 7);
    QList<int> blocks;
    QByteArray received;
    f.driver->OnReceiveData = [&](QObject *sender, const void *data, int size) {
        QCOMPARE(sender, f.driver.get());
        blocks << size;
        received.append(static_cast<const char *>(data), size);
    };
    f.driver->SetComPortPollingDelay(1);
    QVERIFY(f.driver->OpenPort());
    f.platform.Incoming = sent;
    QTRY_COMPARE(received.size(), sent.size());
    QCOMPARE(blocks, QList<int>({2048, 2048, 904}));
    QCOMPARE(received, sent);
}

void TstCommPortDriverTransfer::pollWithoutHandlerStillReads()
{
    TDriverOnFake f;
    f.driver->SetComPortPollingDelay(1);
    QVERIFY(f.driver->OpenPort());
    f.platform.Incoming = "lost";
    QTRY_VERIFY(f.platform.Incoming.isEmpty());
}

void TstCommPortDriverTransfer::idlePollRaisesNothing()
{
    TDriverOnFake f;
    int events = 0;
    f.driver->OnReceiveData = [&](QObject *, const void *, int) { ++events; };
    f.driver->SetComPortPollingDelay(1);
    QVERIFY(f.OpenFresh());
    QTRY_VERIFY(f.platform.Calls.count("Read 2048") >= 3);
    QCOMPARE(events, 0);
    f.driver->ClosePort();
    const auto readsAtClose = f.platform.Calls.count("Read 2048");
    f.platform.Incoming = "late";
    QVERIFY(NothingHappensWithin(30, [&] {
        return f.platform.Calls.count("Read 2048") != readsAtClose || events != 0;
    }));
}

namespace {

// A write of count bytes of "0123456789" on a port as the row says (open or not, what each write
// call takes, then all or nothing, the output-queue count), with the result and the write calls
// expected.
void AddWriteColumns()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("limits");
    QTest::addColumn<bool>("stall");
    QTest::addColumn<int>("queued");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("writes");
}

void ScriptWrites(TDriverOnFake &f)
{
    QFETCH(bool, open);
    QFETCH(QList<int>, limits);
    QFETCH(bool, stall);
    QFETCH(int, queued);
    if (open)
        QVERIFY(f.OpenFresh());
    f.platform.WriteLimits.append(limits);
    f.platform.StallAfterLimits = stall;
    f.platform.QueuedOutput = queued;
}

const QByteArray kWriteData("0123456789");

} // namespace

void TstCommPortDriverTransfer::writeBytes_data()
{
    AddWriteColumns();
    QTest::newRow("closed") << false << 10 << QList<int>() << false << 0 << 0 << QStringList();
    QTest::newRow("count zero") << true << 0 << QList<int>() << false << 0 << 0 << QStringList();
    QTest::newRow("count negative") << true << -5 << QList<int>() << false << 0 << 0 << QStringList();
    QTest::newRow("all at once") << true << 10 << QList<int>() << false << 0 << 10 << QStringList({"Write 10"});
    QTest::newRow("partial writes resume at the first unsent byte")
        << true << 10 << QList<int>({3, 0, 4}) << false << 0 << 10
        << QStringList({"Write 10", "Write 7", "Write 7", "Write 3"});
    QTest::newRow("queue full from the start") << true << 10 << QList<int>() << false << 2048 << 0 << QStringList();
    QTest::newRow("stalls after some bytes") << true << 10 << QList<int>({4}) << true << 0 << -4
                                             << QStringList({"Write 10"});
    QTest::newRow("queue above its size reads as room")
        << true << 10 << QList<int>() << false << 3000 << 10 << QStringList({"Write 10"});
}

void TstCommPortDriverTransfer::writeBytes()
{
    QFETCH(bool, open);
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(QStringList, writes);
    TDriverOnFake f;
    ScriptWrites(f);

    QCOMPARE(f.driver->WriteBytes(kWriteData.constData(), count), result);
    if (count <= 0 || !open)
        QVERIFY(f.platform.Calls.isEmpty());
    const QStringList made = f.platform.CallsStartingWith({"Write "});
    if (result < 0 || (result == 0 && count > 0 && open)) {
        // Gave up just after the output time-out, counted from the last write that took a byte.
        QVERIFY2(f.platform.Clock > 4000 && f.platform.Clock <= 4010, qPrintable(QString::number(f.platform.Clock)));
        QCOMPARE(made.mid(0, writes.size()), writes);
        QCOMPARE(f.platform.Written, kWriteData.left(-result));
    } else {
        QCOMPARE(made, writes);
        QCOMPARE(f.platform.Written, kWriteData.left(result));
    }
}

void TstCommPortDriverTransfer::writeTimeoutWorksAcrossClockWrap()
{
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    f.platform.Clock = 0xFFFFFF00u;
    f.platform.QueuedOutput = 2048;
    f.driver->SetOutputTimeout(1000);
    QCOMPARE(f.driver->WriteBytes("x", 1), 0);
    QVERIFY(f.platform.Clock > 1000 - 0x100 && f.platform.Clock < 1000);
    // Waiting for a full queue sleeps between looks instead of asking without pause.
    QCOMPARE(f.platform.Calls.count("OutputQueueCount"), f.platform.CallsStartingWith({"Sleep"}).size() + 1);
}

void TstCommPortDriverTransfer::writeAvailableNeverWaits_data()
{
    AddWriteColumns();
    const QList<int> none;
    QTest::newRow("closed") << false << 10 << none << false << 0 << 0 << QStringList();
    QTest::newRow("count zero") << true << 0 << none << false << 0 << 0 << QStringList();
    QTest::newRow("all at once") << true << 10 << none << false << 0 << 10 << QStringList({"Write 10"});
    QTest::newRow("what the port takes")
        << true << 10 << QList<int>({3}) << false << 0 << 3 << QStringList({"Write 10"});
    QTest::newRow("port full") << true << 10 << none << true << 0 << 0 << QStringList({"Write 10"});
    QTest::newRow("no more than the queue has room for")
        << true << 10 << none << false << 2044 << 4 << QStringList({"Write 4"});
    QTest::newRow("queue full") << true << 10 << none << false << 2048 << 0 << QStringList();
    QTest::newRow("queue above its size is full") << true << 10 << none << false << 3000 << 0 << QStringList();
}

void TstCommPortDriverTransfer::writeAvailableNeverWaits()
{
    QFETCH(int, count);
    QFETCH(int, result);
    QFETCH(QStringList, writes);
    TDriverOnFake f;
    ScriptWrites(f);

    QCOMPARE(f.driver->WriteAvailable(kWriteData.constData(), count), result);
    QCOMPARE(f.platform.CallsStartingWith({"Write "}), writes);
    QCOMPARE(f.platform.Written, kWriteData.left(result));
    QCOMPARE(f.platform.CallsStartingWith({"Sleep", "WaitWritable"}), QStringList());
    QCOMPARE(f.platform.Clock, 0u);
}

void TstCommPortDriverTransfer::outputReadyComesOnceFromTheEventLoop_data()
{
    QTest::addColumn<TDriverAction>("meanwhile");
    QTest::addColumn<int>("emitted");
    QTest::newRow("port stays full") << TDriverAction([](TCommPortDriver &) {}) << 1;
    QTest::newRow("port closes") << TDriverAction([](TCommPortDriver &d) { d.ClosePort(); }) << 1;
    QTest::newRow("cancelled") << TDriverAction([](TCommPortDriver &d) { d.CancelOutputReady(); }) << 0;
}

void TstCommPortDriverTransfer::outputReadyComesOnceFromTheEventLoop()
{
    QFETCH(TDriverAction, meanwhile);
    QFETCH(int, emitted);
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    f.platform.StallAfterLimits = true;
    QCOMPARE(f.driver->WriteAvailable("abc", 3), 0);
    QSignalSpy ready(f.driver.get(), &TCommPortDriver::OutputReady);
    f.driver->NotifyOutputReady();
    f.driver->NotifyOutputReady();
    meanwhile(*f.driver);
    QCOMPARE(ready.size(), 0);
    if (emitted > 0)
        QVERIFY(ready.wait());
    QVERIFY(NothingHappensWithin(3 * TWritableWatch::kRecheckMs, [&] { return ready.size() != emitted; }));
}

void TstCommPortDriverTransfer::writeText_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("stall");
    QTest::addColumn<bool>("result");
    QTest::newRow("empty on closed port") << false << QByteArray() << false << true;
    QTest::newRow("text on closed port") << false << QByteArray("AT\r") << false << false;
    QTest::newRow("empty on open port") << true << QByteArray() << false << true;
    QTest::newRow("all sent") << true << QByteArray("AT\r") << false << true;
    QTest::newRow("timed out") << true << QByteArray("AT\r") << true << false;
}

void TstCommPortDriverTransfer::writeText()
{
    QFETCH(bool, open);
    QFETCH(QByteArray, text);
    QFETCH(bool, stall);
    QFETCH(bool, result);
    TDriverOnFake f;
    if (open)
        QVERIFY(f.OpenFresh());
    f.platform.StallAfterLimits = stall;
    QCOMPARE(f.driver->WriteText(text), result);
    QCOMPARE(f.platform.Written, result ? text : QByteArray());
}

void TstCommPortDriverTransfer::outputFreeSpace_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("queued");
    QTest::addColumn<bool>("queryFails");
    QTest::addColumn<int>("expected");
    QTest::newRow("closed") << false << 0 << false << -1;
    QTest::newRow("idle") << true << 0 << false << 2048;
    QTest::newRow("some waiting") << true << 100 << false << 1948;
    QTest::newRow("more waiting than the queue size") << true << 3000 << false << -952;
    QTest::newRow("status query fails") << true << 100 << true << 2048;
}

void TstCommPortDriverTransfer::outputFreeSpace()
{
    QFETCH(bool, open);
    QFETCH(int, queued);
    QFETCH(bool, queryFails);
    QFETCH(int, expected);
    TDriverOnFake f;
    if (open)
        QVERIFY(f.OpenFresh());
    f.platform.QueuedOutput = queued;
    if (queryFails)
        f.platform.Failures["OutputQueueCount"] = TSerialStatus::Failed;
    QCOMPARE(int(f.driver->OutputFreeSpace()), expected);
}

void TstCommPortDriverTransfer::purgeBits_data()
{
    QTest::addColumn<bool>("input");
    QTest::addColumn<bool>("output");
    QTest::addColumn<QString>("call");
    QTest::newRow("neither") << false << false << "Purge 0";
    QTest::newRow("input") << true << false << "Purge 10";
    QTest::newRow("output") << false << true << "Purge 5";
    QTest::newRow("both") << true << true << "Purge 15";
}

void TstCommPortDriverTransfer::purgeBits()
{
    QFETCH(bool, input);
    QFETCH(bool, output);
    QFETCH(QString, call);
    TDriverOnFake f;
    f.driver->PurgeBuffers(input, output);
    QVERIFY(f.platform.Calls.isEmpty());
    QVERIFY(f.OpenFresh());
    f.driver->PurgeBuffers(input, output);
    QCOMPARE(f.platform.Calls, QStringList({call}));
}

void TstCommPortDriverTransfer::modemLineCodes()
{
    TDriverOnFake f;
    f.driver->SetDTR(true);
    f.driver->SetRTS(true);
    QVERIFY(f.platform.Calls.isEmpty());
    QVERIFY(f.OpenFresh());
    f.driver->SetDTR(true);
    f.driver->SetDTR(false);
    f.driver->SetRTS(true);
    f.driver->SetRTS(false);
    QCOMPARE(f.platform.Calls, QStringList({"Escape 5", "Escape 6", "Escape 3", "Escape 4"}));
}


void TstCommPortDriverTransfer::lostDeviceClosesOnce_data()
{
    QTest::addColumn<QString>("failingCall");
    QTest::addColumn<TDriverAction>("use");
    const TDriverAction wait = [](TCommPortDriver &) {};
    QTest::newRow("read") << "Read" << wait;
    QTest::newRow("write") << "Write" << TDriverAction([](TCommPortDriver &d) { QCOMPARE(d.WriteText("abc"), false); });
    QTest::newRow("write without waiting")
        << "Write" << TDriverAction([](TCommPortDriver &d) { QCOMPARE(d.WriteAvailable("abc", 3), 0); });
    QTest::newRow("queue count") << "OutputQueueCount"
                                 << TDriverAction([](TCommPortDriver &d) { QCOMPARE(int(d.OutputFreeSpace()), -1); });
    QTest::newRow("modem line") << "Escape" << TDriverAction([](TCommPortDriver &d) { d.SetDTR(false); });
    QTest::newRow("line state") << "SetLineState" << TDriverAction([](TCommPortDriver &d) { d.SetComPortSpeed(br300); });
}

void TstCommPortDriverTransfer::lostDeviceClosesOnce()
{
    QFETCH(QString, failingCall);
    QFETCH(TDriverAction, use);
    TDriverOnFake f;
    f.driver->SetComPortPollingDelay(1);
    QVERIFY(f.OpenFresh());
    f.platform.Failures[failingCall] = TSerialStatus::Gone;
    use(*f.driver);
    QTRY_COMPARE(f.devicesLost, 1);
    QVERIFY(!f.driver->IsOpen());
    QCOMPARE(f.platform.Calls.count("Close 1"), 1);
    QCOMPARE(f.pollStopped.count(), 1);
    const auto callsAfterLoss = f.platform.Calls.size();
    QVERIFY(NothingHappensWithin(20, [&] { return f.platform.Calls.size() != callsAfterLoss; }));

    f.platform.Failures.clear();
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.devicesLost, 1);
}

QTEST_GUILESS_MAIN(TstCommPortDriverTransfer)
#include "tst_commportdrivertransfer.moc"
