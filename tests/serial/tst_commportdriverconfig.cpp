// How the driver opens, configures and closes the port, checked by the calls it makes.
#include "driverfixture.h"

#include <QTest>

Q_DECLARE_METATYPE(std::function<void(TCommPortDriver &)>)

using TDriverAction = std::function<void(TCommPortDriver &)>;

class TstCommPortDriverConfig : public QObject
{
    Q_OBJECT
private slots:
    void openAppliesSettingsThenTimeoutsThenPolls();
    void openOnOpenDriverChangesNothing();
    void portAndBufferSizeIgnoredWhileOpen();
    void lineSettingWrites_data();
    void lineSettingWrites();
    void plainStoresWaitForTheNextApply();
    void speedTableGivesRate_data();
    void speedTableGivesRate();
    void lineStateFields_data();
    void lineStateFields();
    void dtrFollowsEnableDTROnOpenAfterEveryApply();
    void inBufSizeReachesBufferQueueAndLimits();
    void zeroInBufSizeIsIgnored();
    void pollingDelayWrites();
    void failedOpenLeavesHandleInvalid_data();
    void failedOpenLeavesHandleInvalid();
    void deviceVanishingDuringOpenFailsTheOpen();
    void destructionClosesPort();
};

void TstCommPortDriverConfig::openAppliesSettingsThenTimeoutsThenPolls()
{
    TDriverOnFake f;
    QVERIFY(f.driver->OpenPort());
    QVERIFY(f.driver->IsOpen());
    QCOMPARE(f.platform.Calls, QStringList({"Open COM1", "SetLineState 9600", "Purge 15", "SetupQueues 2048 2048",
                                            "SetTimeouts"}));
    QCOMPARE(f.platform.LastTimeouts, (TCommTimeouts{1, 0, 1, 0, 0}));
    QCOMPARE(f.pollStarted.count(), 1);
    QCOMPARE(f.pollStarted.at(0).at(0).toInt(), 50);
    QCOMPARE(f.driver->LastOpenFailure(), TOpenFailure::None);
}

void TstCommPortDriverConfig::openOnOpenDriverChangesNothing()
{
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    QVERIFY(f.driver->OpenPort());
    QVERIFY(f.platform.Calls.isEmpty());
    QCOMPARE(f.pollStarted.count(), 0);
}

void TstCommPortDriverConfig::portAndBufferSizeIgnoredWhileOpen()
{
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    f.driver->SetComPort(pnCOM3);
    f.driver->SetComPortInBufSize(4096);
    QCOMPARE(f.driver->ComPort(), pnCOM1);
    QCOMPARE(f.driver->ComPortInBufSize(), 2048);
    QVERIFY(f.platform.Calls.isEmpty());

    f.driver->ClosePort();
    QCOMPARE(f.platform.Calls, QStringList({"Close 1"}));
    f.driver->SetComPort(pnCOM6);
    QCOMPARE(f.driver->ComPort(), pnCOM6);
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.platform.Calls.at(1), QStringLiteral("Open COM6"));
}

void TstCommPortDriverConfig::lineSettingWrites_data()
{
    QTest::addColumn<TDriverAction>("write");
    QTest::addColumn<QString>("applied");
    QTest::newRow("speed") << TDriverAction([](TCommPortDriver &d) { d.SetComPortSpeed(br115200); })
                           << "SetLineState 115200";
    QTest::newRow("data bits") << TDriverAction([](TCommPortDriver &d) { d.SetComPortDataBits(db7BITS); })
                               << "SetLineState 9600";
    QTest::newRow("stop bits") << TDriverAction([](TCommPortDriver &d) { d.SetComPortStopBits(sb2BITS); })
                               << "SetLineState 9600";
    QTest::newRow("parity") << TDriverAction([](TCommPortDriver &d) { d.SetComPortParity(ptMARK); })
                            << "SetLineState 9600";
    QTest::newRow("hardware") << TDriverAction([](TCommPortDriver &d) { d.SetComPortHwHandshaking(hhRTSCTS); })
                              << "SetLineState 9600";
    QTest::newRow("software") << TDriverAction([](TCommPortDriver &d) { d.SetComPortSwHandshaking(shXONXOFF); })
                              << "SetLineState 9600";
    QTest::newRow("same value again") << TDriverAction([](TCommPortDriver &d) { d.SetComPortSpeed(br9600); })
                                      << "SetLineState 9600";
}

void TstCommPortDriverConfig::lineSettingWrites()
{
    QFETCH(TDriverAction, write);
    QFETCH(QString, applied);

    TDriverOnFake closed;
    write(*closed.driver);
    QVERIFY(closed.platform.Calls.isEmpty());
    QVERIFY(closed.driver->OpenPort());
    const TLineState storedThenApplied = closed.Applied();

    TDriverOnFake open;
    QVERIFY(open.OpenFresh());
    write(*open.driver);
    QCOMPARE(open.platform.Calls, QStringList({applied, "Purge 15", "SetupQueues 2048 2048"}));
    QVERIFY(open.Applied() == storedThenApplied);
}

void TstCommPortDriverConfig::plainStoresWaitForTheNextApply()
{
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    f.driver->SetCustomBR(250000);
    f.driver->SetComPortOutBufSize(100);
    f.driver->SetEnableDTROnOpen(false);
    f.driver->SetOutputTimeout(10);
    QVERIFY(f.platform.Calls.isEmpty());
    f.driver->SetComPortSpeed(brCustom);
    QCOMPARE(f.platform.Calls, QStringList({"SetLineState 250000", "Purge 15", "SetupQueues 2048 100"}));
    QCOMPARE(f.Applied().fDtrControl, 0);
}

void TstCommPortDriverConfig::speedTableGivesRate_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<quint32>("rate");
    const quint32 rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400,
                             56000, 57600, 115200, 128000, 256000};
    for (int speed = br110; speed < brCustom; ++speed)
        QTest::addRow("%u", rates[speed]) << speed << rates[speed];
}

void TstCommPortDriverConfig::speedTableGivesRate()
{
    QFETCH(int, speed);
    QFETCH(quint32, rate);
    TDriverOnFake f;
    f.driver->SetComPortSpeed(static_cast<TComPortBaudRate>(speed));
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.Applied().BaudRate, rate);
}

void TstCommPortDriverConfig::lineStateFields_data()
{
    QTest::addColumn<TDriverAction>("configure");
    QTest::addColumn<TLineState>("expected");

    TLineState base;
    base.BaudRate = 9600;
    base.fBinary = true;
    base.fDtrControl = 1;
    base.XonLim = 512;
    base.XoffLim = 1;
    base.ByteSize = 8;
    base.XonChar = 17;
    base.XoffChar = 19;
    auto row = [&](const char *name, TDriverAction configure, std::function<void(TLineState &)> change) {
        TLineState expected = base;
        change(expected);
        QTest::newRow(name) << configure << expected;
    };
    row("initial values", [](TCommPortDriver &) {}, [](TLineState &) {});
    for (int bits = db5BITS; bits <= db8BITS; ++bits) {
        row(qPrintable(QStringLiteral("%1 data bits").arg(bits + 5)),
            [bits](TCommPortDriver &d) { d.SetComPortDataBits(static_cast<TComPortDataBits>(bits)); },
            [bits](TLineState &s) { s.ByteSize = static_cast<std::uint8_t>(bits + 5); });
    }
    for (int parity = ptNONE; parity <= ptSPACE; ++parity) {
        row(qPrintable(QStringLiteral("parity %1").arg(parity)),
            [parity](TCommPortDriver &d) { d.SetComPortParity(static_cast<TComPortParity>(parity)); },
            [parity](TLineState &s) { s.Parity = static_cast<std::uint8_t>(parity); });
    }
    for (int stop = sb1BITS; stop <= sb2BITS; ++stop) {
        row(qPrintable(QStringLiteral("stop bits %1").arg(stop)),
            [stop](TCommPortDriver &d) { d.SetComPortStopBits(static_cast<TComPortStopBits>(stop)); },
            [stop](TLineState &s) { s.StopBits = static_cast<std::uint8_t>(stop); });
    }
    row("RTS/CTS", [](TCommPortDriver &d) { d.SetComPortHwHandshaking(hhRTSCTS); },
        [](TLineState &s) { s.fOutxCtsFlow = true; s.fRtsControl = 2; });
    row("XON/XOFF", [](TCommPortDriver &d) { d.SetComPortSwHandshaking(shXONXOFF); },
        [](TLineState &s) { s.fOutX = true; s.fInX = true; });
    row("DTR off at open", [](TCommPortDriver &d) { d.SetEnableDTROnOpen(false); },
        [](TLineState &s) { s.fDtrControl = 0; });
    row("custom rate", [](TCommPortDriver &d) { d.SetCustomBR(250000); d.SetComPortSpeed(brCustom); },
        [](TLineState &s) { s.BaudRate = 250000; });
    row("custom rate initial", [](TCommPortDriver &d) { d.SetComPortSpeed(brCustom); },
        [](TLineState &s) { s.BaudRate = 4800; });
    row("out-of-range speed asks for no rate", [](TCommPortDriver &d) { d.SetComPortSpeed(TComPortBaudRate(40)); },
        [](TLineState &s) { s.BaudRate = 0; });
}

void TstCommPortDriverConfig::lineStateFields()
{
    QFETCH(TDriverAction, configure);
    QFETCH(TLineState, expected);
    TDriverOnFake f;
    configure(*f.driver);
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.platform.LineStates.size(), 1);
    QVERIFY(f.Applied() == expected);
}

void TstCommPortDriverConfig::dtrFollowsEnableDTROnOpenAfterEveryApply()
{
    TDriverOnFake f;
    f.driver->SetEnableDTROnOpen(false);
    f.driver->SetDTR(true);
    QVERIFY(f.platform.Calls.isEmpty());
    QVERIFY(f.driver->OpenPort());
    QVERIFY(!f.platform.Dtr);
    f.driver->SetDTR(true);
    f.driver->SetRTS(true);
    QVERIFY(f.platform.Dtr && f.platform.Rts);
    f.driver->SetComPortParity(ptEVEN);
    QVERIFY(!f.platform.Dtr);
    QVERIFY(!f.platform.Rts);

    f.driver->SetEnableDTROnOpen(true);
    QVERIFY(!f.platform.Dtr);   // a plain store, until the next apply
    f.driver->SetComPortParity(ptNONE);
    QVERIFY(f.platform.Dtr);
}

void TstCommPortDriverConfig::inBufSizeReachesBufferQueueAndLimits()
{
    TDriverOnFake f;
    f.driver->SetComPortInBufSize(4096);
    f.driver->SetComPortOutBufSize(1000);
    f.driver->SetComPortPollingDelay(1);
    QCOMPARE(f.driver->ComPortInBufSize(), 4096);
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.Applied().XonLim, 1024);
    QVERIFY(f.platform.Calls.contains("SetupQueues 4096 1000"));
    QTRY_VERIFY(f.platform.Calls.contains("Read 4096"));
}

void TstCommPortDriverConfig::zeroInBufSizeIsIgnored()
{
    TDriverOnFake f;
    f.driver->SetComPortInBufSize(0);
    QCOMPARE(f.driver->ComPortInBufSize(), 2048);
}

void TstCommPortDriverConfig::pollingDelayWrites()
{
    TDriverOnFake f;
    f.driver->SetComPortPollingDelay(50);
    f.driver->SetComPortPollingDelay(20);
    QCOMPARE(f.driver->ComPortPollingDelay(), 20);
    QCOMPARE(f.pollStarted.count() + f.pollStopped.count(), 0);

    QVERIFY(f.OpenFresh());
    f.driver->SetComPortPollingDelay(20);
    QCOMPARE(f.pollStarted.count() + f.pollStopped.count(), 0);

    f.driver->SetComPortPollingDelay(0);
    QCOMPARE(f.pollStopped.count(), 1);
    QCOMPARE(f.pollStarted.count(), 1);
    QCOMPARE(f.pollStarted.at(0).at(0).toInt(), 0);
    // With no descriptor to watch, a short timer still polls.
    QCOMPARE(f.platform.Calls.first(), QStringLiteral("ReadinessDescriptor"));
    QTRY_VERIFY(f.platform.Calls.contains("Read 2048"));

    f.driver->ClosePort();
    QCOMPARE(f.pollStopped.count(), 2);
}

void TstCommPortDriverConfig::failedOpenLeavesHandleInvalid_data()
{
    QTest::addColumn<TOpenFailure>("failure");
    QTest::newRow("missing") << TOpenFailure::NoSuchDevice;
    QTest::newRow("in use") << TOpenFailure::InUse;
    QTest::newRow("refused") << TOpenFailure::PermissionDenied;
}

void TstCommPortDriverConfig::failedOpenLeavesHandleInvalid()
{
    QFETCH(TOpenFailure, failure);
    TDriverOnFake f;
    f.platform.OpenFailure = failure;
    f.driver->SetComPort(pnCOM4);
    QVERIFY(!f.driver->OpenPort());
    QVERIFY(!f.driver->IsOpen());
    QCOMPARE(f.driver->LastOpenFailure(), failure);
    QCOMPARE(f.driver->LastOpenDevice(), QStringLiteral("COM4"));
    f.driver->ClosePort();
    f.driver->ApplyLineSettings();
    QCOMPARE(f.platform.Calls, QStringList({"Open COM4"}));
    QCOMPARE(f.pollStarted.count(), 0);

    f.platform.OpenFailure = TOpenFailure::None;
    QVERIFY(f.driver->OpenPort());
    QCOMPARE(f.driver->LastOpenFailure(), TOpenFailure::None);
}

void TstCommPortDriverConfig::deviceVanishingDuringOpenFailsTheOpen()
{
    TDriverOnFake f;
    f.platform.Failures["SetLineState"] = TSerialStatus::Gone;
    QVERIFY(!f.driver->OpenPort());
    QVERIFY(!f.driver->IsOpen());
    QCOMPARE(f.platform.Calls, QStringList({"Open COM1", "SetLineState 9600", "Close 1"}));
    QCOMPARE(f.devicesLost, 0);
    QCOMPARE(f.driver->LastOpenFailure(), TOpenFailure::Other);
}

void TstCommPortDriverConfig::destructionClosesPort()
{
    TDriverOnFake f;
    QVERIFY(f.OpenFresh());
    f.driver.reset();
    QCOMPARE(f.platform.Calls, QStringList({"Close 1"}));
    QVERIFY(f.platform.OpenHandles().isEmpty());
}

QTEST_GUILESS_MAIN(TstCommPortDriverConfig)
#include "tst_commportdriverconfig.moc"
