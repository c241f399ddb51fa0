// The modem input lines, the break and the traffic counts of the driver.
#include "driverfixture.h"
#include "pseudoterminal.h"
#include "ttyioctl.h"

#include <QtTest>

#include <sys/ioctl.h>

class TstModemLines : public QObject
{
    Q_OBJECT

private slots:
    void modemBitsMapToTheirLines_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<bool>>("lines");   // CTS, DSR, DCD, RI
        QTest::newRow("none") << 0 << QList<bool>{false, false, false, false};
        QTest::newRow("CTS") << int(TIOCM_CTS) << QList<bool>{true, false, false, false};
        QTest::newRow("DSR") << int(TIOCM_DSR) << QList<bool>{false, true, false, false};
        QTest::newRow("DCD") << int(TIOCM_CAR) << QList<bool>{false, false, true, false};
        QTest::newRow("RI") << int(TIOCM_RNG) << QList<bool>{false, false, false, true};
        QTest::newRow("outputs only") << int(TIOCM_DTR | TIOCM_RTS) << QList<bool>{false, false, false, false};
        QTest::newRow("all") << int(TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | TIOCM_RNG | TIOCM_DTR)
                             << QList<bool>{true, true, true, true};
    }
    void modemBitsMapToTheirLines()
    {
        QFETCH(int, bits);
        QFETCH(QList<bool>, lines);
        const TModemInputs inputs = TtyIoctl::ModemInputsOf(bits);
        QCOMPARE((QList<bool>{inputs.Cts, inputs.Dsr, inputs.Dcd, inputs.Ri}), lines);
    }

    void pseudoTerminalHasNoModemLines()
    {
        TPseudoTerminal pty(QStringLiteral("COM1"));
        QVERIFY(pty.IsValid());
        TCommPortDriver driver;
        TModemInputs lines;
        QVERIFY(!driver.ReadModemInputs(lines));
        QVERIFY(driver.OpenPort());
        QVERIFY(!driver.ReadModemInputs(lines));
        QVERIFY(driver.IsOpen());
    }

    void breakLastsItsTimeAndEndsWithThePort()
    {
        TDriverOnFake f;
        QVERIFY(f.OpenFresh());
        f.platform.QueuedOutput = 5;
        QVERIFY(!f.driver->SendBreak(20));
        f.platform.QueuedOutput = 0;
        QVERIFY(f.driver->SendBreak(20));
        QVERIFY(f.platform.Break && f.driver->Breaking());
        QVERIFY(!f.driver->SendBreak(20));
        QTRY_VERIFY(!f.platform.Break);
        QVERIFY(!f.driver->Breaking());
        QVERIFY(f.driver->SendBreak(60000));
        f.driver->ClosePort();
        QCOMPARE(f.platform.CallsStartingWith({"SetBreak", "Close"}),
                 QStringList({"SetBreak 1", "SetBreak 0", "SetBreak 1", "SetBreak 0", "Close 1"}));
        QVERIFY(!f.driver->Breaking());
    }

};

QTEST_GUILESS_MAIN(TstModemLines)
#include "tst_modemlines.moc"
