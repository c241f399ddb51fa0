#include "filesender.h"
#include "filesendtestfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// A port that keeps what it is given; room and time-outs are scripted by the test.
class TRecordingPort : public TFileSendPort
{
public:
    bool Open = true;
    std::function<std::int16_t()> Room = [] { return std::int16_t(2048); };
    // Count of bytes after which the given WriteBytes call (counted from 1) times out; -1: none.
    int TimeoutCall = 0;
    int TimeoutAfter = -1;
    std::uint16_t Timeout = 4000;

    QByteArray Line;
    int Writes = 0;
    int WritesWhileFull = 0;
    int LargestWrite = 0;
    std::int16_t LastRoom = 0;

    bool IsOpen() const override { return Open; }
    std::int16_t OutputFreeSpace() override { return LastRoom = Open ? Room() : -1; }
    std::int32_t WriteBytes(const void *data, std::int32_t count) override
    {
        if (!Open)
            return 0;
        ++Writes;
        WritesWhileFull += LastRoom <= 0;
        LargestWrite = std::max(LargestWrite, int(count));
        const int taken = Writes == TimeoutCall ? TimeoutAfter : count;
        Line.append(static_cast<const char *>(data), taken);
        return taken == count ? count : -taken;
    }
    std::uint16_t OutputTimeout() const override { return Timeout; }
};

} // namespace

class TestFileSender : public QObject
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
        QTest::addColumn<int>("room");
        QTest::newRow("empty") << 0 << 2048;
        QTest::newRow("one byte") << 1 << 2048;
        QTest::newRow("1000 bytes") << 1000 << 2048;
        QTest::newRow("1000 bytes, 7 free") << 1000 << 7;
        QTest::newRow("odd size across chunks") << 3 * 65536 + 17 << 2048;
        QTest::newRow("1 MiB") << 1024 * 1024 << 2048;
    }

    void sendsEveryByteOnceInOrder()
    {
        QFETCH(int, size);
        QFETCH(int, room);
        const QByteArray bytes = FilePattern(size);
        TRecordingPort port;
        port.Room = [room] { return std::int16_t(room); };
        TFileSender sender(port);
        QSignalSpy progress(&sender, &TFileSender::Progress);

        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", bytes)));
        QVERIFY(sender.IsRunning());
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);

        QVERIFY(!sender.IsRunning());
        QCOMPARE(port.Line.size(), bytes.size());
        QVERIFY(port.Line == bytes);
        QVERIFY(port.LargestWrite <= room);
        QCOMPARE(sender.Lost(), 0);
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
        QCOMPARE(port.Writes, 0);
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
        QTest::qWait(20);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(port.Writes, 0);
        if (what == "missing")
            QVERIFY(!QFile::exists(path));
    }

    void timedOutByteIsLostAndSendGoesOn()
    {
        const QByteArray bytes = FilePattern(5000);
        TRecordingPort port;
        port.TimeoutCall = 2;
        port.TimeoutAfter = 100;
        TFileSender sender(port);
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", bytes)));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);

        const qsizetype lostAt = 1024 + 100;
        QVERIFY(port.Line == bytes.left(lostAt) + bytes.mid(lostAt + 1));
        QCOMPARE(sender.Lost(), 1);
        QCOMPARE(sender.Done(), bytes.size());
    }

    void fullQueueIsWaitedFor()
    {
        const QByteArray bytes = FilePattern(3000);
        TRecordingPort port;
        int fullLooks = 0;
        // Full, then holding more than the driver's output size, then draining.
        port.Room = [&] { return std::int16_t(++fullLooks <= 3 ? 0 : fullLooks <= 6 ? -40 : 2048); };
        TFileSender sender(port);
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", bytes)));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);
        QVERIFY(port.Line == bytes);
        QCOMPARE(sender.Lost(), 0);
        QCOMPARE(port.WritesWhileFull, 0);
    }

    void queueFullPastTimeoutLosesEachByte()
    {
        TRecordingPort port;
        port.Room = [] { return std::int16_t(0); };
        port.Timeout = 10;
        TFileSender sender(port);
        QSignalSpy progress(&sender, &TFileSender::Progress);
        QVERIFY(sender.Start(WriteTestFile(*m_dir, "f.bin", "xyz")));
        QCOMPARE(RunToEnd(sender), TFileSendEnd::Completed);
        QCOMPARE(port.Writes, 0);
        QCOMPARE(sender.Lost(), 3);
        QCOMPARE(progress.size(), 3);
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

QTEST_GUILESS_MAIN(TestFileSender)
#include "tst_filesender.moc"
