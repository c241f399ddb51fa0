#include "mainformfixture.h"
#include "nothinghappens.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "filesender.h"
#include "historycombobox.h"
#include "memoview.h"
#include "filesendtestfiles.h"
#include "turngapprobe.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <thread>

#include <unistd.h>

namespace {

const QString kAccessError = QStringLiteral("File access error! (+r attribute?)");

// The far end as a program of its own: on its own thread it reads at most bytesPerTick every
// 10 ms, or nothing at all for 0.
class TSlowReader
{
public:
    TSlowReader(int master, int bytesPerTick)
    {
        if (bytesPerTick == 0)
            return;
        m_thread = std::jthread([this, master, bytesPerTick](std::stop_token stop) {
            QByteArray buffer(bytesPerTick, Qt::Uninitialized);
            while (!stop.stop_requested()) {
                const ssize_t got = ::read(master, buffer.data(), size_t(buffer.size()));
                if (got > 0)
                    m_read.append(buffer.constData(), got);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    // What it read, once it has stopped reading.
    QByteArray Stop()
    {
        m_thread = {};
        return m_read;
    }

private:
    QByteArray m_read;
    std::jthread m_thread;
};

} // namespace

// Send File on a pseudo-terminal: the device side reads what arrives and keeps talking back.
class TstFileSend : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TPseudoTerminal> m_pty;
    std::unique_ptr<TMainFormFixture> m_f;
    std::unique_ptr<QSocketNotifier> m_deviceReads;
    QTimer m_deviceTalks;
    QByteArray m_arrived;
    QByteArray m_received;
    int m_linesTold = 0;

    TMainFormFixture &F() { return *m_f; }
    TFileSender &Sender() { return F().Form().FileSender(); }
    QProgressBar *ProgressBar() { return F().Form().findChild<QProgressBar *>("FileSendProgress"); }
    QString SendNote() { return F().Form().findChild<QLabel *>("FileSendText")->text(); }

    void ChooseFile(const QString &path)
    {
        F().Dialogs.FileAnswers.push_back(path);
        F().Click("SendFileBtn");
    }
    // The device: everything the program sends is collected, and a line goes back every few ms.
    void StartDevice()
    {
        const int master = m_pty->MasterDescriptor();
        m_deviceReads = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        connect(m_deviceReads.get(), &QSocketNotifier::activated, this, [this, master] {
            char buffer[4096];
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0)
                m_arrived.append(buffer, got);
            else
                m_deviceReads->setEnabled(false);
        });
        connect(&m_deviceTalks, &QTimer::timeout, this,
                [this] { m_pty->Write(QByteArray("rx ") + QByteArray::number(++m_linesTold) + "\r\n"); });
        m_deviceTalks.start(5);
    }
    // Runs action once, at the first progress report past the given count.
    void AtProgress(qint64 after, std::function<void()> action)
    {
        auto fired = std::make_shared<bool>(false);
        connect(&Sender(), &TFileSender::Progress, this, [=](qint64 done) {
            if (done >= after && !*fired) {
                *fired = true;
                action();
            }
        });
    }
    // Counts what the driver hands to the window, passing it on to the window's own handler.
    void TapReceivedData()
    {
        TCommPortDriver &driver = F().Form().CommPortDriver();
        driver.OnReceiveData = [this, bound = driver.OnReceiveData](QObject *sender, const void *data, int size) {
            m_received.append(static_cast<const char *>(data), size);
            if (bound)
                bound(sender, data, size);
        };
    }
    // One send of a file to a device that reads bytesPerTick every 10 ms: checks what arrived
    // and what the window says at the end, and gives the longest gap between turns of the
    // window's event loop meanwhile.
    void SendToSlowDevice(int bytesPerTick, int lostBeforeEsc, double &longestGapMs)
    {
        const QByteArray bytes = FilePattern(40 * 1024);
        TSlowReader reader(m_pty->MasterDescriptor(), bytesPerTick);
        TTurnGapProbe probe;
        QSignalSpy finished(&Sender(), &TFileSender::Finished);
        probe.Start();
        ChooseFile(WriteTestFile(*m_dir, "image.bin", bytes));
        QVERIFY(Sender().IsRunning());
        // A real event loop: QTRY_ waits sleep between looks, which the probe would count.
        QVERIFY(finished.wait(60000));
        probe.Stop();
        longestGapMs = probe.LongestGapMs();

        const qint64 sent = Sender().Done() - Sender().Lost();
        QByteArray arrived = reader.Stop();
        arrived += m_pty->Read(int(sent - arrived.size()));
        if (lostBeforeEsc == 0) {
            QVERIFY(arrived == bytes);
            QCOMPARE(SendNote(), QStringLiteral("Sent image.bin: 40960 bytes"));
        } else {
            QVERIFY(arrived == bytes.left(sent));
            QCOMPARE(SendNote(), QStringLiteral("Stopped after %1 of 40960 bytes, 3 lost").arg(sent));
        }
    }
    int LinesReceived() const { return int(m_received.count("rx ")); }
    QString ShownText() { return F().Control<TMemoView>("RxMemo")->PlainText(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_pty = std::make_unique<TPseudoTerminal>();
        QVERIFY(m_pty->IsValid());
        m_f = std::make_unique<TMainFormFixture>();
        F().MapPort(1, m_pty->SlavePath());
        F().Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&F().Form()));
        F().Click("ConnectBtn");
        QVERIFY(F().Form().CommPortDriver().IsOpen());
        m_arrived.clear();
        m_received.clear();
        m_linesTold = 0;
        TapReceivedData();
        StartDevice();
    }
    void cleanup()
    {
        m_deviceTalks.stop();
        m_deviceTalks.disconnect();
        m_deviceReads.reset();
        m_f.reset();
        m_pty.reset();
        m_dir.reset();
    }

    void fileArrivesWholeWhileDataFlowsBack_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("1000 bytes") << 1000;
        QTest::newRow("1 MiB") << 1024 * 1024;
    }
    void fileArrivesWholeWhileDataFlowsBack()
    {
        QFETCH(int, size);
        const QByteArray bytes = FilePattern(size);
        QTRY_VERIFY_WITH_TIMEOUT(LinesReceived() >= 2, 20000);
        int linesDuringSend = 0;
        int linesShownDuringSend = 0;
        connect(&Sender(), &TFileSender::Progress, this, [&] {
            linesDuringSend = LinesReceived();
            linesShownDuringSend = int(ShownText().count("rx "));
        });
        const int linesBefore = LinesReceived();

        ChooseFile(WriteTestFile(*m_dir, "image.bin", bytes));
        QVERIFY(Sender().IsRunning());
        QVERIFY(ProgressBar()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!Sender().IsRunning(), 120000);
        QTRY_COMPARE_WITH_TIMEOUT(m_arrived.size(), bytes.size(), 20000);
        QVERIFY(m_arrived == bytes);
        QVERIFY(!ProgressBar()->isVisible());
        QVERIFY(F().Dialogs.Warnings.isEmpty());
        if (size > 100000)
        {
            QVERIFY2(linesDuringSend > linesBefore, "nothing was received while sending");
            QVERIFY2(linesShownDuringSend > 0, "nothing received was shown while sending");
        }
        const QByteArray lastTold = "rx " + QByteArray::number(m_linesTold);
        QTRY_VERIFY_WITH_TIMEOUT(m_received.contains(lastTold + "\r\n"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(ShownText().contains(QString::fromLatin1(lastTold)), 20000);
    }

    // A far end that drains slowly, or not at all, must not hold the window up: the longest turn of
    // the event loop stays short while the port's buffers are full.
    void windowAnswersWhileTheDeviceReadsSlowly_data()
    {
        QTest::addColumn<int>("bytesPerTick");
        QTest::addColumn<int>("outputTimeout");
        QTest::addColumn<int>("lostBeforeEsc");
        // A pseudo-terminal makes room in steps of a few KiB, so a slow reader leaves it full for
        // longer than a short time-out.
        QTest::newRow("slow reader") << 64 << 4000 << 0;
        QTest::newRow("stalled reader, bytes lost to the output time-out") << 0 << 400 << 3;
    }
    void windowAnswersWhileTheDeviceReadsSlowly()
    {
        QFETCH(int, bytesPerTick);
        QFETCH(int, outputTimeout);
        QFETCH(int, lostBeforeEsc);
        F().Form().CommPortDriver().SetOutputTimeout(std::uint16_t(outputTimeout));
        m_deviceReads->setEnabled(false);
        if (lostBeforeEsc > 0) {
            connect(&Sender(), &TFileSender::Progress, this, [this, lostBeforeEsc] {
                if (Sender().Lost() == lostBeforeEsc && Sender().IsRunning())
                    QTest::keyClick(F().Control<QPlainTextEdit>("TxMemo"), Qt::Key_Escape);
            });
        }
        // On a busy machine any thread stalls now and then (a kernel worker preempted while it
        // holds the terminal's lock, say), while a program that waits for the port stalls at
        // every refill: one send of two that answers in time is enough.
        double longestGapMs = 0;
        for (int attempt = 0; attempt < 2; ++attempt) {
            SendToSlowDevice(bytesPerTick, lostBeforeEsc, longestGapMs);
            if (QTest::currentTestFailed() || longestGapMs < 50)
                break;
        }
        QVERIFY2(longestGapMs < 50, qPrintable(QString("longest gap %1 ms").arg(longestGapMs)));
    }

    void sendEndsCleanly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("Stop button") << "Stop button";
        QTest::newRow("Disconnect") << "Disconnect";
        QTest::newRow("device unplugged") << "unplug";
        QTest::newRow("window closed") << "close";
    }
    void sendEndsCleanly()
    {
        QFETCH(QString, how);
        const QByteArray bytes = FilePattern(4 * 1024 * 1024);
        AtProgress(20000, [&] {
            if (how == "Esc")
                QTest::keyClick(F().Control<QPlainTextEdit>("TxMemo"), Qt::Key_Escape);
            else if (how == "Stop button")
                QTest::mouseClick(F().Form().findChild<QToolButton *>("FileSendStop"), Qt::LeftButton);
            else if (how == "Disconnect")
                F().Click("DisconnectBtn");
            else if (how == "unplug")
                m_pty->CloseMaster();
            else
                F().Form().close();
        });
        ChooseFile(WriteTestFile(*m_dir, "image.bin", bytes));
        QTRY_VERIFY_WITH_TIMEOUT(!Sender().IsRunning(), 120000);
        QVERIFY(!ProgressBar()->isVisible());
        QVERIFY(Sender().Done() < bytes.size());
        if (how == "Esc" || how == "Stop button") {
            QTRY_COMPARE_WITH_TIMEOUT(m_arrived.size(), Sender().Done(), 20000);
            QVERIFY(m_arrived == bytes.left(m_arrived.size()));
            QVERIFY(F().Form().CommPortDriver().IsOpen());
            QVERIFY(F().Control<QPlainTextEdit>("TxMemo")->toPlainText().isEmpty());
        }
    }

    void sendFileDuringSendDoesNothing()
    {
        const QByteArray bytes = FilePattern(2 * 1024 * 1024);
        AtProgress(1, [&] { ChooseFile(WriteTestFile(*m_dir, "other.txt", "other")); });
        ChooseFile(WriteTestFile(*m_dir, "image.bin", bytes));
        QTRY_VERIFY_WITH_TIMEOUT(!Sender().IsRunning(), 120000);
        QCOMPARE(F().Dialogs.FileRequests.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_arrived.size(), bytes.size(), 20000);
        QVERIFY(m_arrived == bytes);
    }

    void keysAndMacrosDuringSendFollowTheFile_data()
    {
        // Each step clicks a macro button ("M1"), presses a hot key ("F2") or types its text.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("shown");
        QTest::newRow("typed keys") << QStringList{"ok"} << QByteArray("ok") << "ok";
        QTest::newRow("macro button") << QStringList{"M1"} << QByteArray("AT\r") << "AT\n";
        QTest::newRow("hot key between keys") << QStringList{"a", "F2", "b"} << QByteArray("a$0b") << "a\n$0b";
        QTest::newRow("macros in turn") << QStringList{"M2", "F1", "M2"} << QByteArray("$0AT\r$0")
                                        << "$0\nAT\n$0\n";
    }
    void keysAndMacrosDuringSendFollowTheFile()
    {
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, after);
        QFETCH(QString, shown);
        const QByteArray bytes = FilePattern(1024 * 1024);
        auto *txMemo = F().Control<QPlainTextEdit>("TxMemo");
        F().Control<THistoryComboBox>("lbMacro1")->setEditText("AT#013");
        F().Control<THistoryComboBox>("lbMacro2")->setEditText("$$0");
        QVERIFY(QTest::qWaitForWindowActive(&F().Form()));
        AtProgress(1, [&] {
            for (const QString &step : steps) {
                if (step.startsWith('M'))
                    F().Click(qPrintable("bMacro" + step.mid(1)));
                else if (step.startsWith('F'))
                    QTest::keyClick(F().Form().windowHandle(), Qt::Key(Qt::Key_F1 + step.mid(1).toInt() - 1));
                else
                    QTest::keyClicks(txMemo, step);
            }
        });
        ChooseFile(WriteTestFile(*m_dir, "image.bin", bytes));
        QTRY_VERIFY_WITH_TIMEOUT(!Sender().IsRunning(), 120000);
        QTRY_COMPARE_WITH_TIMEOUT(m_arrived.size(), bytes.size() + after.size(), 20000);
        QVERIFY(m_arrived == bytes + after);
        QCOMPARE(txMemo->toPlainText(), shown);
    }

    void dialogOffersTheSendFilters()
    {
        F().Click("SendFileBtn");
        QCOMPARE(F().Dialogs.FileRequests.size(), 1);
        const TFileOpenOptions asked = F().Dialogs.FileRequests.first();
        QCOMPARE(asked.Title, QString());
        QCOMPARE(asked.Filter, QStringLiteral("All files (*.*)|*.*|HEX file (*.hex)|*.hex|BIN file (*.bin)|*.bin|"
                                              "ASCII text file (*.txt)|*.txt"));
        QCOMPARE(asked.FilterIndex, 0);
        QCOMPARE(asked.DefaultExt, QString());
        QVERIFY(!Sender().IsRunning());
        QVERIFY(F().Dialogs.Warnings.isEmpty());
    }

    void unopenableFileWarns_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("read-only") << true;
    }
    void unopenableFileWarns()
    {
        QFETCH(bool, exists);
        QString path = m_dir->filePath("absent.hex");
        if (exists) {
            path = WriteTestFile(*m_dir, "locked.hex", "data");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        ChooseFile(path);
        QCOMPARE(F().Dialogs.Warnings.size(), 1);
        QCOMPARE(F().Dialogs.Warnings.first().Caption, QStringLiteral("Warning"));
        QCOMPARE(F().Dialogs.Warnings.first().Text, kAccessError);
        QVERIFY(!Sender().IsRunning());
        QVERIFY(!ProgressBar()->isVisible());
        QVERIFY(NothingHappensWithin(100, [&] { return !m_arrived.isEmpty(); }));
        QCOMPARE(QFile::exists(path), exists);
    }

    void emptyFileSendsNothing()
    {
        ChooseFile(WriteTestFile(*m_dir, "image.bin", QByteArray()));
        QTRY_VERIFY_WITH_TIMEOUT(!Sender().IsRunning(), 20000);
        QVERIFY(NothingHappensWithin(100, [&] { return !m_arrived.isEmpty(); }));
        QVERIFY(F().Dialogs.Warnings.isEmpty());
    }
};

QTEST_MAIN(TstFileSend)
#include "tst_filesend.moc"
