// The driver on the real POSIX layer, with a pseudo-terminal playing the device.
#include "commportdriver.h"
#include "comportmap.h"
#include "nothinghappens.h"
#include "pseudoterminal.h"

#include <QTest>

#include <ctime>
#include <functional>
#include <thread>

using TDriverAction = std::function<void(TCommPortDriver &)>;
Q_DECLARE_METATYPE(TDriverAction)

namespace {

QByteArray Pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 13 + i / 256) & 0xFF);
    return bytes;
}

double ProcessCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The port a driver opens unless told otherwise.
const QString kDefaultPort = QStringLiteral("COM1");

// A delay long enough that no poll happens while a test stages data.
constexpr std::uint16_t kNoPoll = 60000;

} // namespace

class TstPtyDataPath : public QObject
{
    Q_OBJECT
private slots:
    void blocksArriveWholeAndInOrder_data();
    void blocksArriveWholeAndInOrder();
    void trickleArrivesByteByByte_data();
    void trickleArrivesByteByByte();
    void closingInTheHandlerStopsPolling();
    void burstsAfterSilenceAndFloodsArriveWhole();
    void writtenBytesArriveOnceInOrder();
    void fullLineTimesOutWithoutBusyWait();
    void ratesReachTheTerminal_data();
    void ratesReachTheTerminal();
    void characterFormatReachesTheTerminal();
    void refusedSettingsStillLeaveTheLineRaw_data();
    void refusedSettingsStillLeaveTheLineRaw();
    void secondDriverCannotOpenHeldPort();
    void missingDeviceIsReported();
    void hangUpClosesOnceWithoutBusyLoop_data();
    void hangUpClosesOnceWithoutBusyLoop();
};

static void AddPollModes()
{
    QTest::addColumn<int>("pollingDelay");
    QTest::newRow("on readable") << 0;
    QTest::newRow("on timer") << 5;
}

void TstPtyDataPath::blocksArriveWholeAndInOrder_data()
{
    AddPollModes();
}

void TstPtyDataPath::blocksArriveWholeAndInOrder()
{
    QFETCH(int, pollingDelay);
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortPollingDelay(kNoPoll);
    QVERIFY(driver.OpenPort());

    const QByteArray sent = Pattern(5000);
    QList<int> blocks;
    QByteArray received;
    driver.OnReceiveData = [&](QObject *, const void *data, int size) {
        blocks << size;
        received.append(static_cast<const char *>(data), size);
        // The kernel moves data into the terminal's queue in the background; let the rest settle
        // so that every poll finds everything the device has sent waiting.
        QVERIFY(pty.WaitForInput(std::min<int>(2048, int(sent.size() - received.size()))));
    };
    QVERIFY(pty.Write(sent));
    QVERIFY(pty.WaitForInput(2048));
    driver.SetComPortPollingDelay(static_cast<std::uint16_t>(pollingDelay));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), sent.size(), 20000);
    QCOMPARE(blocks, QList<int>({2048, 2048, 904}));
    QCOMPARE(received, sent);
}

void TstPtyDataPath::trickleArrivesByteByByte_data()
{
    AddPollModes();
}

// Each byte is sent from inside the handler, so it arrives while the previous read is being
// handled: a poll that stops watching the port then would strand it.
void TstPtyDataPath::trickleArrivesByteByByte()
{
    QFETCH(int, pollingDelay);
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortPollingDelay(static_cast<std::uint16_t>(pollingDelay));
    QVERIFY(driver.OpenPort());
    const QByteArray sent = Pattern(40);
    QByteArray received;
    driver.OnReceiveData = [&](QObject *, const void *data, int size) {
        received.append(static_cast<const char *>(data), size);
        if (received.size() < sent.size())
            QVERIFY(pty.Write(sent.mid(received.size(), 1)));
    };
    QVERIFY(pty.Write(sent.left(1)));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), sent.size(), 20000);
    QCOMPARE(received, sent);
}

// A slow line is left alone for a while after each read and a fast one is read at once; whatever
// the pace, every byte arrives once and in order, also the bytes that come during a pause.
void TstPtyDataPath::burstsAfterSilenceAndFloodsArriveWhole()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortPollingDelay(0);
    QVERIFY(driver.OpenPort());
    QByteArray received;
    driver.OnReceiveData = [&](QObject *, const void *data, int size) {
        received.append(static_cast<const char *>(data), size);
    };
    QByteArray sent;
    const auto send = [&](const QByteArray &bytes) {
        sent += bytes;
        QVERIFY(pty.Write(bytes));
    };
    send("first");
    QTRY_COMPARE(received, sent);
    send("during the pause");
    QTRY_COMPARE(received, sent);
    QTest::qWait(100);   // a silence, after which a burst must still arrive whole
    send(Pattern(3000));
    send("after");
    QTRY_COMPARE(received, sent);

    // More than the terminal holds, written as fast as it takes it.
    const QByteArray flood = Pattern(1 << 20);
    sent += flood;
    std::thread writer([&] { pty.Write(flood, 60000); });
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), sent.size(), 60000);
    writer.join();
    QCOMPARE(received, sent);
}

void TstPtyDataPath::closingInTheHandlerStopsPolling()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortPollingDelay(0);
    QVERIFY(driver.OpenPort());
    int calls = 0;
    driver.OnReceiveData = [&](QObject *, const void *, int) {
        ++calls;
        driver.ClosePort();
    };
    QVERIFY(pty.Write(Pattern(10)));
    QTRY_COMPARE(calls, 1);
    QVERIFY(pty.Write(Pattern(10)));
    QVERIFY(NothingHappensWithin(100, [&] { return calls != 1; }));
    QVERIFY(!driver.IsOpen());
}

void TstPtyDataPath::writtenBytesArriveOnceInOrder()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    QVERIFY(driver.OpenPort());
    QCOMPARE(driver.OutputFreeSpace(), 2048);
    const QByteArray data = Pattern(1000);
    QCOMPARE(driver.WriteBytes(data.constData(), 1000), 1000);
    QCOMPARE(pty.Read(1000), data);
    QCOMPARE(pty.Read(1, 100), QByteArray());
}

void TstPtyDataPath::fullLineTimesOutWithoutBusyWait()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetOutputTimeout(400);
    QVERIFY(driver.OpenPort());
    // Nobody reads the master, so the terminal's buffers fill and stay full.
    const QByteArray data = Pattern(1 << 20);
    const double before = ProcessCpuSeconds();
    const std::int32_t result = driver.WriteBytes(data.constData(), std::int32_t(data.size()));
    QVERIFY2(ProcessCpuSeconds() - before < 0.3, "waiting for room should not spin");
    QVERIFY(result < 0);
    QVERIFY(-result < data.size());
    QCOMPARE(pty.Read(-result), data.left(-result));
}

void TstPtyDataPath::ratesReachTheTerminal_data()
{
    QTest::addColumn<TComPortBaudRate>("speed");
    QTest::addColumn<std::int32_t>("custom");
    QTest::addColumn<quint32>("rate");
    QTest::newRow("56000") << br56000 << 0 << 56000u;
    QTest::newRow("128000") << br128000 << 0 << 128000u;
    QTest::newRow("custom 250000") << brCustom << 250000 << 250000u;
    QTest::newRow("14400") << br14400 << 0 << 14400u;
}

void TstPtyDataPath::ratesReachTheTerminal()
{
    QFETCH(TComPortBaudRate, speed);
    QFETCH(std::int32_t, custom);
    QFETCH(quint32, rate);
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetCustomBR(custom);
    QVERIFY(driver.OpenPort());
    QVERIFY(pty.Settings().OutputRate != rate);
    driver.SetComPortSpeed(speed);
    QCOMPARE(pty.Settings().OutputRate, rate);
    QCOMPARE(pty.Settings().InputRate, rate);
}

void TstPtyDataPath::characterFormatReachesTheTerminal()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortStopBits(sb2BITS);
    driver.SetComPortParity(ptMARK);
    driver.SetComPortHwHandshaking(hhRTSCTS);
    driver.SetComPortSwHandshaking(shXONXOFF);
    QVERIFY(driver.OpenPort());
    const TtyIoctl::TTtySettings s = pty.Settings();
    QVERIFY(!s.Canonical);
    QVERIFY(s.LocalLine && s.ReceiverOn);
    QCOMPARE(s.MinChars, 1);
    QCOMPARE(s.CharTimeout, 0);
    QVERIFY(!s.ParityCheck);
    QVERIFY(s.TwoStopBits);
    QVERIFY(s.RtsCts);
    QVERIFY(s.XonXoffInput && s.XonXoffOutput);
    QCOMPARE(s.XonChar, char(17));
    QCOMPARE(s.XoffChar, char(19));
    // A pseudo-terminal may drop parity settings; where it keeps them, mark is stick + odd.
    if (s.ParityOn)
        QVERIFY(s.StickParity && s.OddParity);
}

void TstPtyDataPath::refusedSettingsStillLeaveTheLineRaw_data()
{
    QTest::addColumn<bool>("whileOpen");
    QTest::addColumn<TDriverAction>("refuse");
    QTest::addColumn<quint32>("rate");   // 0: the rate the terminal had
    for (const bool whileOpen : {false, true}) {
        const auto row = [whileOpen](const char *name, TDriverAction refuse, quint32 rate) {
            QTest::addRow("%s %s", name, whileOpen ? "while open" : "at open") << whileOpen << refuse << rate;
        };
        using D = TCommPortDriver;
        row("custom rate 0", [](D &d) { d.SetCustomBR(0); d.SetComPortSpeed(brCustom); }, 0);
        row("negative custom rate", [](D &d) { d.SetCustomBR(-9600); d.SetComPortSpeed(brCustom); }, 0);
        row("speed past the table", [](D &d) { d.SetComPortSpeed(TComPortBaudRate(brCustom + 1)); }, 0);
        row("data bits past the table", [](D &d) { d.SetComPortDataBits(TComPortDataBits(db8BITS + 1)); }, 9600);
        row("parity past the table", [](D &d) { d.SetComPortParity(TComPortParity(ptSPACE + 1)); }, 9600);
        row("stop bits past the table", [](D &d) { d.SetComPortStopBits(TComPortStopBits(sb2BITS + 1)); }, 9600);
    }
}

// A setting the line cannot take must not leave the terminal as the last program left it: a
// cooked terminal would join, swap, drop and echo bytes behind an open port.
void TstPtyDataPath::refusedSettingsStillLeaveTheLineRaw()
{
    QFETCH(bool, whileOpen);
    QFETCH(TDriverAction, refuse);
    QFETCH(quint32, rate);
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    QByteArray received;
    driver.OnReceiveData = [&](QObject *, const void *data, int size) {
        received.append(static_cast<const char *>(data), size);
    };
    QVERIFY(!whileOpen || driver.OpenPort());
    QVERIFY(pty.TranslateEverything());
    const quint32 rateBefore = pty.Settings().OutputRate;
    refuse(driver);
    QVERIFY(driver.OpenPort());
    QCOMPARE(pty.Settings().OutputRate, rate ? rate : rateBefore);

    const QByteArray in("a\rb\nc\tQ\xE9\x7f");
    QVERIFY(pty.Write(in));
    QTRY_COMPARE(received, in);
    // An echo of the input would reach the device before these bytes.
    const QByteArray out("x\ny\r\t");
    QVERIFY(driver.WriteText(out));
    QCOMPARE(pty.Read(int(out.size())), out);
}

void TstPtyDataPath::secondDriverCannotOpenHeldPort()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver first;
    TCommPortDriver second;
    QVERIFY(first.OpenPort());
    QVERIFY(!second.OpenPort());
    QVERIFY(!second.IsOpen());
    QCOMPARE(second.LastOpenFailure(), TOpenFailure::InUse);
    QCOMPARE(second.LastOpenDevice(), pty.SlavePath());
    first.ClosePort();
    QVERIFY(second.OpenPort());
}

void TstPtyDataPath::missingDeviceIsReported()
{
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPort(pnCOM5);
    QVERIFY(TComPortMap().Assign(QStringLiteral("COM5"), pty.SlavePath() + QStringLiteral("-missing")));
    QVERIFY(!driver.OpenPort());
    QCOMPARE(driver.LastOpenFailure(), TOpenFailure::NoSuchDevice);
}

void TstPtyDataPath::hangUpClosesOnceWithoutBusyLoop_data()
{
    AddPollModes();
}

void TstPtyDataPath::hangUpClosesOnceWithoutBusyLoop()
{
    QFETCH(int, pollingDelay);
    TPseudoTerminal pty(kDefaultPort);
    QVERIFY(pty.IsValid());
    TCommPortDriver driver;
    driver.SetComPortPollingDelay(static_cast<std::uint16_t>(pollingDelay));
    int lost = 0;
    driver.OnDeviceLost = [&](QObject *sender) {
        QCOMPARE(sender, &driver);
        QVERIFY(!driver.IsOpen());
        ++lost;
    };
    QVERIFY(driver.OpenPort());
    pty.CloseMaster();
    QTRY_COMPARE(lost, 1);
    QVERIFY(!driver.IsOpen());

    const double before = ProcessCpuSeconds();
    QVERIFY(NothingHappensWithin(500, [&] { return lost != 1; }));
    QVERIFY2(ProcessCpuSeconds() - before < 0.2, "the driver keeps working after the device went away");
}

QTEST_GUILESS_MAIN(TstPtyDataPath)
#include "tst_ptydatapath.moc"
