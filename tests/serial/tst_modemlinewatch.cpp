// The modem-line watch: a thread that waits for line changes, the timer where the port cannot
// wait, and ending the thread at any moment.
#include "driverfixture.h"
#include "interruptiblethread.h"
#include "modemlinewatch.h"
#include "nothinghappens.h"
#include "pseudoterminal.h"

#include <QDir>
#include <QtTest>

#include <poll.h>

namespace {

using TLines = std::optional<TModemInputs>;

// A watch over a driver's port, recording what it reports and on which thread.
struct TWatchRig {
    TCommPortDriver &driver;
    TModemLineWatch watch{[this]() -> TLines {
        TModemInputs lines;
        return driver.ReadModemInputs(lines) ? TLines(lines) : std::nullopt;
    }, [this] { return driver.ModemLinePort(); }};
    QList<TLines> changes;
    bool offWindowThread = false;

    explicit TWatchRig(TCommPortDriver &d)
        : driver(d)
    {
        watch.OnChange = [this](TLines lines) {
            changes << lines;
            offWindowThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        };
    }
};

int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

class TstModemLineWatch : public QObject
{
    Q_OBJECT

private slots:
    void changeWhileWaitingReachesTheWindowThread()
    {
        TDriverOnFake f;
        QVERIFY(f.driver->OpenPort());
        TWatchRig rig(*f.driver);
        rig.watch.Start();
        QCOMPARE(rig.changes, QList<TLines>{TModemInputs{}});
        QTRY_COMPARE(f.platform.Waiters.load(), 1);
        const TModemInputs ringing{true, false, false, true};
        f.platform.SetInputs(ringing);
        QTRY_COMPARE(rig.changes.size(), 2);
        QCOMPARE(rig.changes.last(), TLines(ringing));
        QVERIFY(!rig.offWindowThread);
        QVERIFY(!rig.watch.IsPolling());
        rig.watch.Stop();
        QCOMPARE(f.platform.Waiters.load(), 0);
    }

    void portThatCannotWaitIsRead_data()
    {
        QTest::addColumn<TSerialStatus>("wait");
        QTest::newRow("unsupported") << TSerialStatus::Unsupported;
        QTest::newRow("failed") << TSerialStatus::Failed;
    }
    void portThatCannotWaitIsRead()
    {
        QFETCH(TSerialStatus, wait);
        TDriverOnFake f;
        QVERIFY(f.driver->OpenPort());
        f.platform.WaitFailure = wait;
        TWatchRig rig(*f.driver);
        rig.watch.Start();
        QTRY_VERIFY(rig.watch.IsPolling());
        f.platform.SetInputs(TModemInputs{false, true, false, false});
        QTRY_COMPARE(rig.changes.size(), 2);
        QCOMPARE(rig.changes.last(), TLines(TModemInputs{false, true, false, false}));
        rig.watch.Stop();
        QVERIFY(!rig.watch.IsPolling());
    }

    void portWithoutModemLinesIsToldOnce()
    {
        TDriverOnFake f;
        QVERIFY(f.driver->OpenPort());
        f.platform.SetInputs(std::nullopt);
        TWatchRig rig(*f.driver);
        rig.watch.Start();
        QCOMPARE(rig.changes, QList<TLines>{std::nullopt});
        QVERIFY(!rig.watch.IsRunning());
        f.platform.SetInputs(TModemInputs{true, true, true, true});
        QVERIFY(NothingHappensWithin(3 * TModemLineWatch::kIntervalMs, [&] { return rig.changes.size() > 1; }));
        QCOMPARE(f.platform.Waiters.load(), 0);
    }

    void pseudoTerminalLeavesTheLampsUnavailable()
    {
        TPseudoTerminal pty(QStringLiteral("COM1"));
        QVERIFY(pty.IsValid());
        TCommPortDriver driver;
        QVERIFY(driver.OpenPort());
        TWatchRig rig(driver);
        rig.watch.Start();
        QCOMPARE(rig.changes, QList<TLines>{std::nullopt});
        QVERIFY(!rig.watch.IsRunning());
    }

    void startAndStopOftenLeaveNoThread()
    {
        TDriverOnFake f;
        QVERIFY(f.driver->OpenPort());
        TWatchRig rig(*f.driver);
        const int threads = ThreadCount();
        for (int i = 0; i < 50; ++i) {
            rig.watch.Start();
            // Every other stop comes before the thread can have reached its wait.
            if (i % 2)
                QTRY_COMPARE(f.platform.Waiters.load(), 1);
            rig.watch.Stop();
            QCOMPARE(f.platform.Waiters.load(), 0);
        }
        QCOMPARE(ThreadCount(), threads);
        QCOMPARE(rig.changes.size(), 50);
    }

    // Stop on another thread, so that one that hangs ends the test instead of blocking it.
    void stopEndsABlockedCallPromptly_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("before the call") << false;
        QTest::newRow("inside the call") << true;
    }
    void stopEndsABlockedCallPromptly()
    {
        QFETCH(bool, blocked);
        std::atomic<bool> entered = false;
        std::atomic<bool> stopped = false;
        TInterruptibleThread thread;
        thread.Start([&](const std::atomic<bool> &stop) {
            while (!stop) {
                entered = true;
                ::poll(nullptr, 0, -1);
            }
        });
        if (blocked)
            QTRY_VERIFY(entered);
        std::thread stopper([&] {
            thread.Stop();
            stopped = true;
        });
        if (!QTest::qWaitFor([&] { return stopped.load(); }, 1000))
            qFatal("Stop did not end a thread blocked in a system call");
        stopper.join();
        QVERIFY(!thread.IsRunning());
    }
};

QTEST_GUILESS_MAIN(TstModemLineWatch)
#include "tst_modemlinewatch.moc"
