#include "fakeserialplatform.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "radiogroup.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

// Connecting, disconnecting and changing line settings from the settings bar.
class TstMainFormConnection : public QObject
{
    Q_OBJECT

    static void Select(TMainFormFixture &f, const char *group, int item)
    {
        QRadioButton *button = f.Control<TRadioGroup>(group)->Button(item);
        // On the indicator: a radio button ignores clicks on the blank right of its text.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static void VerifyConnected(TMainFormFixture &f)
    {
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
        QCOMPARE(f.App.Title(), QStringLiteral("Velorand - Connected"));
        QCOMPARE(f.Form().windowIconText(), f.App.Title());
        QVERIFY(!f.Control<QPushButton>("ConnectBtn")->isEnabled());
        QVERIFY(f.Control<QPushButton>("DisconnectBtn")->isEnabled());
        QVERIFY(f.Form().CommPortDriver().IsOpen());
    }
    static void VerifyDisconnectedButtons(TMainFormFixture &f)
    {
        QCOMPARE(f.App.Title(), QStringLiteral("Velorand - Disconnected"));
        QCOMPARE(f.Form().windowIconText(), f.App.Title());
        QVERIFY(f.Control<QPushButton>("ConnectBtn")->isEnabled());
        QVERIFY(!f.Control<QPushButton>("DisconnectBtn")->isEnabled());
        QVERIFY(!f.Form().CommPortDriver().IsOpen());
    }

private slots:
    void connectAndDisconnectOnAPseudoTerminal()
    {
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        TMainFormFixture f;
        f.MapPort(1, pty.SlavePath());
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.Form()));

        f.Click("ConnectBtn");
        VerifyConnected(f);
        QCOMPARE(QApplication::focusWidget(), f.Control<QWidget>("TxMemo"));
        QCOMPARE(pty.Settings().OutputRate, 4800u);
        QCOMPARE(f.Form().CommPortDriver().ComPortParity(), ptNONE);
        QVERIFY(f.Form().CommPortDriver().WriteText("AT\r"));
        QCOMPARE(pty.Read(3), QByteArray("AT\r"));

        f.Click("DisconnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
        VerifyDisconnectedButtons(f);
        QCOMPARE(f.Dialogs.Beeps, 0);
    }

    void firstConnectUsesTheSettingsShown()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        VerifyConnected(f);
        QVERIFY(platform.Calls.contains(QStringLiteral("Open COM1")));
        const TLineState state = platform.LineStates.last();
        QCOMPARE(state.BaudRate, 4800u);
        QCOMPARE(state.ByteSize, 8);
        QCOMPARE(state.Parity, 0);
        QCOMPARE(state.StopBits, 0);
        QVERIFY(!state.fOutxCtsFlow && !state.fOutX && !state.fInX);
        QVERIFY(!platform.Dtr);
        QVERIFY(!platform.Rts);
    }

    void failedConnectExplainsWhy_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("words");
        QTest::newRow("missing") << int(TOpenFailure::NoSuchDevice) << "no such device";
        QTest::newRow("in use") << int(TOpenFailure::InUse) << "in use by another program";
        QTest::newRow("refused") << int(TOpenFailure::PermissionDenied) << "dialout";
        QTest::newRow("other") << int(TOpenFailure::Other) << "could not be opened";
    }
    void failedConnectExplainsWhy()
    {
        QFETCH(int, failure);
        QFETCH(QString, words);
        TFakeSerialPlatform platform;
        platform.OpenFailure = TOpenFailure(failure);
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        VerifyDisconnectedButtons(f);
        QCOMPARE(f.Dialogs.Beeps, 1);
        const QString hint = f.Control<QStatusBar>("StatusBar")->toolTip();
        QVERIFY2(hint.contains(words) && hint.contains(QStringLiteral("COM1")), qPrintable(hint));

        platform.OpenFailure = TOpenFailure::None;
        f.Click("ConnectBtn");
        VerifyConnected(f);
        QVERIFY(f.Control<QStatusBar>("StatusBar")->toolTip().isEmpty());
    }

    void failedConnectNamesTheDevicePath()
    {
        TMainFormFixture f;
        f.MapPort(1, f.Home.Path() + QStringLiteral("/no-such-tty"));
        f.Click("ConnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        QVERIFY(f.Control<QStatusBar>("StatusBar")->toolTip().contains(f.Home.Path() + "/no-such-tty"));
        QCOMPARE(f.Dialogs.Beeps, 1);
    }

    void rateChangeWhileConnectedNeedsNoReconnect()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        platform.Calls.clear();
        Select(f, "BaudRateRG", 4);
        QCOMPARE(platform.LineStates.last().BaudRate, 9600u);
        QCOMPARE(platform.CallsStartingWith({"Open", "Close"}), QStringList());
        QVERIFY(!platform.CallsStartingWith({"Purge"}).isEmpty());
        VerifyConnected(f);
    }

    void portChangeWhileConnected_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("new port opens") << true;
        QTest::newRow("new port missing") << false;
    }
    void portChangeWhileConnected()
    {
        QFETCH(bool, opens);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        QSignalSpy shown(f.Control<QStatusBar>("StatusBar"), &QStatusBar::messageChanged);
        platform.Calls.clear();
        if (!opens)
            platform.OpenFailure = TOpenFailure::NoSuchDevice;
        Select(f, "ComPortRG", 1);
        QCOMPARE(platform.CallsStartingWith({"Open", "Close"}), QStringList({"Close 1", "Open COM2"}));
        QCOMPARE(shown.first().first().toString(), QStringLiteral("Disconnected"));
        if (opens) {
            VerifyConnected(f);
            return;
        }
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        VerifyDisconnectedButtons(f);
        QCOMPARE(f.Dialogs.Beeps, 1);
    }

    void rtsOnTxKeepsTheHandshakingBefore()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        Select(f, "HandshakingRG", 1);
        Select(f, "HandshakingRG", 4);
        QCOMPARE(f.Form().CommPortDriver().ComPortHwHandshaking(), hhRTSCTS);
        QCOMPARE(f.Form().CommPortDriver().ComPortSwHandshaking(), shNONE);
        Select(f, "HandshakingRG", 3);
        QCOMPARE(f.Form().CommPortDriver().ComPortHwHandshaking(), hhRTSCTS);
        QCOMPARE(f.Form().CommPortDriver().ComPortSwHandshaking(), shXONXOFF);
    }

    void selectionsReachTheDriver_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::newRow("5 data bits") << "DataBitsRG" << 0 << "ComPortDataBits" << int(db5BITS);
        QTest::newRow("space parity") << "ParityRG" << 4 << "ComPortParity" << int(ptSPACE);
        QTest::newRow("odd parity") << "ParityRG" << 1 << "ComPortParity" << int(ptODD);
        QTest::newRow("1.5 stop bits") << "StopBitsRG" << 1 << "ComPortStopBits" << int(sb1HALFBITS);
        QTest::newRow("2 stop bits") << "StopBitsRG" << 2 << "ComPortStopBits" << int(sb2BITS);
        QTest::newRow("600 baud") << "BaudRateRG" << 0 << "ComPortSpeed" << int(br600);
        QTest::newRow("115200 baud") << "BaudRateRG" << 10 << "ComPortSpeed" << int(br115200);
        QTest::newRow("256000 baud") << "BaudRateRG" << 11 << "ComPortSpeed" << int(br256000);
        QTest::newRow("COM6") << "ComPortRG" << 5 << "ComPort" << int(pnCOM6);
    }
    void selectionsReachTheDriver()
    {
        QFETCH(QString, group);
        QFETCH(int, item);
        QFETCH(QString, property);
        QFETCH(int, value);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        Select(f, group.toLatin1(), item);
        QCOMPARE(f.Form().CommPortDriver().property(property.toLatin1()).toInt(), value);
    }

    void autoDisConnectFollowsActivation()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Form().AppEventsActivate();
        QVERIFY(!f.Form().CommPortDriver().IsOpen());
        f.Control<QCheckBox>("cbAuto")->setChecked(true);
        f.Form().AppEventsActivate();
        VerifyConnected(f);
        f.Form().AppEventsDeactivate();
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
        VerifyDisconnectedButtons(f);
        platform.OpenFailure = TOpenFailure::InUse;
        f.Form().AppEventsActivate();
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        QCOMPARE(f.Dialogs.Beeps, 1);
    }

    void endingTheProgramWhileConnectedClosesThePort()
    {
        TFakeSerialPlatform platform;
        {
            TMainFormFixture f(&platform);
            f.Click("ConnectBtn");
            QCOMPARE(platform.OpenHandles().size(), 1);
        }
        QVERIFY(platform.OpenHandles().isEmpty());
    }

    void lostDeviceShowsTheDisconnectedState()
    {
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        TMainFormFixture f;
        f.MapPort(1, pty.SlavePath());
        f.Click("ConnectBtn");
        VerifyConnected(f);
        pty.CloseMaster();
        QTRY_COMPARE_WITH_TIMEOUT(f.Form().StatusText(), QStringLiteral("Error: port lost"), 10000);
        VerifyDisconnectedButtons(f);
        QCOMPARE(f.Dialogs.Beeps, 1);
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

QTEST_MAIN(TstMainFormConnection)
#include "tst_mainformconnection.moc"
