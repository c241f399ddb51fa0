#include "filesender.h"
#include "filesendtestfiles.h"
#include "nothinghappens.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// A port that keeps what it is given; how much it takes and whether it says when it has room
// again are scripted by the test.
class TRecordingPort : public TFileSendPort
{
public:
    bool Open = true;
    // Most bytes a write takes, and whether the write of that number (counted from 1) takes none.
    int TakesAtMost = 1 << 30;
    std::function<bool(int write)> Refuses = [](int) { return false; };
    // Whether a full port says when it has room; a silent one leaves the sender to its time-out.
    bool Tells = true;
    std::uint16_t Timeout = 4000;

    QByteArray Line;
    int Writes = 0;
    // Writes after a refused one that came neither from the port's word nor after the time-out.
    int WritesUnasked = 0;

    bool IsOpen() const override { return Open; }
    std::int32_t WriteAvailable(const void *data, std::int32_t count) override
    {
        if (!Open)
            return 0;
        ++Writes;
        WritesUnasked += m_full && !m_told && m_waited.elapsed() <= Timeout;
        const std::int32_t taken = Refuses(Writes) ? 0 : std::min(count, TakesAtMost);
        Line.append(static_cast<const char *>(data), taken);
        m_full = taken == 0;
        m_told = false;
        if (taken > 0 || !m_waited.isValid())
            m_waited.start();
        return taken;
    }
    void WhenWritable(std::function<void()> ready) override
    {
        m_ready = std::move(ready);
        if (Tells)
            QTimer::singleShot(1, &m_context, [this] {
                m_told = true;
                if (const std::function<void()> ready = std::exchange(m_ready, nullptr))
                    ready();
            });
    }
    void CancelWhenWritable() override { m_ready = nullptr; }
    std::uint16_t OutputTimeout() const override { return Timeout; }

private:
    QObject m_context;
    std::function<void()> m_ready;
    QElapsedTimer m_waited;
    bool m_full = false;
    bool m_told = false;
};

} // namespace

class TstFileSender : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void sendsEveryByteOnceInOrder_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("takesAtMost");
        QTest::addColumn<int>("refuseEvery");
        QTest::addColumn<QString>("summary");
        QTest::newRow("empty") << 0 << 2048 << 0 << "Sent f.bin: 0 bytes";
        QTest::newRow("one byte") << 1 << 2048 << 0 << "Sent f.bin: 1 byte";
        QTest::newRow("1000 bytes") << 1000 << 2048 << 0 << "Sent f.bin: 1000 bytes";
        QTest::newRow("1000 bytes, 7 at a time") << 1000 << 7 << 0 << "Sent f.bin: 1000 bytes";
        QTest::newRow("port full every other write") << 5000 << 300 << 2 << "Sent f.bin: 5000 bytes";
        QTest::newRow("odd size across chunks") << 3 * 65536 + 17 << 2048 << 0 << "Sent f.bin: 196625 bytes";
        QTest::newRow("1 MiB") << 1024 * 1024 << 2048 << 5 << "Sent f.bin: 1048576 bytes";
    }

    void sendsEveryByteOnceInOrder()
    {
        QFETCH(int, size);
        QFETCH(int, takesAtMost);
        QFETCH(int, refuseEvery);
        QFETCH(QString, summary);
        const QByteArray bytes = FilePattern(size);
        TRecordingPort port;
        port.TakesAtMost = takesAtMost;
        port.Refuses = [refuseEvery](int write) { return refuseEvery > 0 && write % refuseEvery == 0; };
        TFileSender sender(port);
        QSignalSpy progress(&sender, &TFileSender::Progress);

        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", bytes)));
        QVERIFY(sender.IsRunning());
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);

        QVERIFY(!sender.IsRunning());
        QCOMPARE(port.Line.size(), bytes.size());
        QVERIFY(port.Line == bytes);
        QCOMPARE(sender.Lost(), 0);
        QCOMPARE(port.WritesUnasked, 0);
        QCOMPARE(sender.Summary(), summary);
        if (size == 0) {
            QCOMPARE(port.Writes, 0);
            return;
        }
        QCOMPARE(progress.last(), (QList<QVariant>{qint64(size), qint64(size)}));
    }

    void closedPortDropsWholeFileEvenIfItOpens()
    {
        TRecordingPort port;
        port.Open = false;
        TFileSender sender(port);
        connect(&sender, &TFileSender::Progress, &sender, [&] { port.Open = true; });
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", FilePattern(200000))));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);
        QCOMPARE(sender.Done(), 200000);
        QCOMPARE(sender.Lost(), 200000);
        QCOMPARE(port.Writes, 0);
        QCOMPARE(sender.Summary(), QStringLiteral("Sent f.bin: 0 bytes, 200000 lost"));
    }

    void unopenableFileIsRefused_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing") << "missing";
        QTest::newRow("read-only") << "read-only";
        QTest::newRow("directory") << "directory";
        QTest::newRow("device") << "device";
        QTest::newRow("empty name") << "empty name";
    }

    void unopenableFileIsRefused()
    {
        QFETCH(QString, what);
        QString path;
        if (what == "missing")
            path = m_dir->filePath("nothing-here.hex");
        else if (what == "read-only") {
            path = WriteTestFile(*m_dir, "f.bin", "abc");
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        } else if (what == "directory")
            path = m_dir->path();
        else if (what == "device")
            path = "/dev/null";

        TRecordingPort port;
        TFileSender sender(port);
        QSignalSpy finished(&sender, &TFileSender::Finished);
        QVERIFY(!sender.Start(path));
        QVERIFY(!sender.IsRunning());
        QVERIFY(NothingHappensWithin(20, [&] { return finished.size() > 0 || port.Writes > 0; }));
        if (what == "missing")
            QVERIFY(!QFile::exists(path));
    }

    // The port takes 100 bytes, then says nothing and takes nothing until the time-out has
    // caught the byte that waited.
    void timedOutByteIsLostAndSendGoesOn()
    {
        const QByteArray bytes = FilePattern(5000);
        TRecordingPort port;
        port.TakesAtMost = 100;
        port.Refuses = [](int write) { return write == 2 || write == 3; };
        port.Tells = false;
        port.Timeout = 20;
        TFileSender sender(port);
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", bytes)));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);

        QVERIFY(port.Line == bytes.left(100) + bytes.mid(101));
        QCOMPARE(sender.Lost(), 1);
        QCOMPARE(sender.Done(), bytes.size());
        QCOMPARE(port.WritesUnasked, 0);
        QCOMPARE(sender.Summary(), QStringLiteral("Sent f.bin: 4999 bytes, 1 lost"));
    }

    void portFullPastTimeoutLosesEachByte()
    {
        TRecordingPort port;
        port.Refuses = [](int) { return true; };
        port.Tells = false;
        port.Timeout = 10;
        TFileSender sender(port);
        QSignalSpy progress(&sender, &TFileSender::Progress);
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", "xyz")));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);
        QCOMPARE(port.Line, QByteArray());
        QCOMPARE(sender.Lost(), 3);
        QCOMPARE(progress.size(), 3);
        QCOMPARE(sender.Summary(), QStringLiteral("Sent f.bin: 0 bytes, 3 lost"));
    }

    void endBeforeTheLastByteSaysHowFar_data()
    {
        QTest::addColumn<bool>("portCloses");
        QTest::addColumn<TFileSendEnd>("end");
        QTest::newRow("stopped") << false << TFileSendEnd::Stopped;
        QTest::newRow("port closed") << true << TFileSendEnd::PortClosed;
    }

    // Both happen inside the progress report, as an Esc handled there would.
    void endBeforeTheLastByteSaysHowFar()
    {
        QFETCH(bool, portCloses);
        QFETCH(TFileSendEnd, end);
        TRecordingPort port;
        port.TakesAtMost = 1000;
        TFileSender sender(port);
        connect(&sender, &TFileSender::Progress, &sender, [&] {
            if (portCloses)
                port.Open = false;
            else
                sender.Stop();
        });
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", FilePattern(3000))));
        QCOMPARE(RunToEnd(sender), end);
        QCOMPARE(port.Line.size(), 1000);
        QCOMPARE(sender.Summary(), QStringLiteral("Stopped after 1000 of 3000 bytes"));
    }

private:

    std::unique_ptr<QTemporaryDir> m_dir;

    TFileSendEnd RunToEnd(TFileSender &sender)
    {
        QSignalSpy finished(&sender, &TFileSender::Finished);
        if (!finished.wait(60000))
            qFatal("file send did not end");
        return finished.first().first().value<TFileSendEnd>();
    }
};

QTEST_GUILESS_MAIN(TstFileSender)
#include "tst_filesender.moc"
