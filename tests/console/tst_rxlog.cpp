#include "fileerror.h"
#include "fixedclock.h"
#include "rxlog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kHeader = "Velorand log file\r\nDate: 07.12.2026 - 14:05:09\r\n"
                           + QByteArray(47, '-') + "\r\n";
const QByteArray kTrailer = "\r\n" + QByteArray(47, '-') + "\r\nDate: 07.12.2026 - 14:05:09\r\nEnd log file\r\n";

QByteArray Range(int first, int last)
{
    QByteArray bytes;
    for (int value = first; value <= last; ++value)
        bytes += char(value);
    return bytes;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TstRxLog : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(LogPath());
    }

    void bodyFollowsTheModeOfEachByte_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<bool>("timeMode");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("hex, sixteen to a line") << true << false << Range(0, 0x13)
            << QByteArray("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \r\n10 11 12 13 ");
        QTest::newRow("string, time off") << false << false << QByteArray("OK\r\n") << QByteArray("OK\x10\n");
        QTest::newRow("string, time on") << false << true << QByteArray("OK\r\n")
                                         << QByteArray("OK\r14:05:09> \n");
        QTest::newRow("string keeps every other byte") << false << false << QByteArray("\0\b\xff\n", 4)
                                                       << QByteArray("\0\b\xff\n", 4);
        QTest::newRow("string over several buffers") << false << true << QByteArray(300, 'x') + "\r"
                                                     << QByteArray(300, 'x') + "\r14:05:09> ";
    }

    void bodyFollowsTheModeOfEachByte()
    {
        QFETCH(bool, hexMode);
        QFETCH(bool, timeMode);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, body);
        TRxLog log(m_clock);
        log.Start(LogPath());
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), int(data.size()),
                         hexMode, timeMode);
        log.Stop();
        QVERIFY(!log.IsOpen());
        QCOMPARE(ReadAll(LogPath()), kHeader + body + kTrailer);
    }

    void hexLineCountCarriesOverToTheNextLog()
    {
        TRxLog log(m_clock);
        log.Start(LogPath());
        const QByteArray first = Range(0, 0x13);
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(first.constData()), 20, true, false);
        log.Stop();
        QCOMPARE(log.HexCount(), 4);

        log.Start(LogPath());
        const QByteArray text = "text\r";
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(text.constData()), 5, false, false);
        const QByteArray values(13, 'A');
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(values.constData()), 13, true, false);
        log.Stop();
        QCOMPARE(ReadAll(LogPath()),
                 kHeader + "text\x10" + QByteArray("41 ").repeated(12) + "\r\n41 " + kTrailer);
    }

    void stopRightAfterStartEmptiesTheOldFileToHeaderAndTrailer()
    {
        QFile old(LogPath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'z'));
        old.close();
        TRxLog log(m_clock);
        log.Start(LogPath());
        log.Stop();
        QCOMPARE(ReadAll(LogPath()), kHeader + kTrailer);
    }

    void closeOnExitWritesNoTrailer()
    {
        {
            TRxLog log(m_clock);
            log.Start(LogPath());
            log.WriteRecords(reinterpret_cast<const std::uint8_t *>("AB"), 2, true, false);
            log.CloseWithoutTrailer();
            QVERIFY(!log.IsOpen());
        }
        QCOMPARE(ReadAll(LogPath()), kHeader + "41 42 ");
        {
            TRxLog log(m_clock);
            log.Start(LogPath());
            log.WriteRecords(reinterpret_cast<const std::uint8_t *>("z"), 1, false, false);
        }
        QCOMPARE(ReadAll(LogPath()), kHeader + "z");
    }

    void fileSeesWholeBuffersOnly()
    {
        TRxLog log(m_clock);
        log.Start(LogPath());
        QCOMPARE(ReadAll(LogPath()), QByteArray());
        const QByteArray data(200, 'd');
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), 31, false, false);
        QCOMPARE(ReadAll(LogPath()).size(), TRxLog::kBufferSize);
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), 127, false, false);
        QCOMPARE(ReadAll(LogPath()).size(), TRxLog::kBufferSize);
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), 1, false, false);
        QCOMPARE(ReadAll(LogPath()).size(), 2 * TRxLog::kBufferSize);
        log.Stop();
    }

    void refusedFileLeavesTheLogClosed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("under a regular file") << "velorand.log/x.log" << "Invalid filename";
        QTest::newRow("missing folder") << "missing/x.log" << "Invalid filename";
        QTest::newRow("a folder") << "." << "File access denied";
        QTest::newRow("empty name") << "" << "Invalid filename";
        QTest::newRow("FIFO without a reader") << "fifo" << "I/O error 6";
    }

    void refusedFileLeavesTheLogClosed()
    {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QFile blocker(LogPath());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ::unlink(QFile::encodeName(m_dir.filePath("fifo")).constData());
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("fifo")).constData(), 0600), 0);
        TRxLog log(m_clock);
        try {
            log.Start(path.isEmpty() ? path : m_dir.filePath(path));
            QFAIL("the file must be refused");
        } catch (const TAppError &error) {
            QCOMPARE(error.Message(), message);
        }
        QVERIFY(!log.IsOpen());
    }

    void fullDiskIsReportedAndTheLogStaysOpen()
    {
        TRxLog log(m_clock);
        log.Start("/dev/full");
        const QByteArray data(200, 'x');
        try {
            log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), 200, false, false);
            QFAIL("a full disk must be reported");
        } catch (const TLogWriteError &error) {
            QCOMPARE(error.Message(), QString("Disk full"));
            QCOMPARE(error.Index, 30);
        }
        QVERIFY(log.IsOpen());
        QVERIFY_THROWS_EXCEPTION(TAppError, log.Stop());
        QVERIFY(log.IsOpen());
        QVERIFY_THROWS_EXCEPTION(TAppError, log.Stop());
        QVERIFY(log.IsOpen());
        log.CloseWithoutTrailer();
        QVERIFY(!log.IsOpen());
    }

    void openLogKeepsWritersOutButNotReaders()
    {
        TRxLog log(m_clock);
        log.Start(LogPath());
        const QByteArray data(130, 'r');
        log.WriteRecords(reinterpret_cast<const std::uint8_t *>(data.constData()), 130, false, false);

        const int other = ::open(QFile::encodeName(LogPath()).constData(), O_WRONLY);
        QVERIFY(other >= 0);
        QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), -1);
        QCOMPARE(errno, EWOULDBLOCK);
        ::close(other);

        TRxLog second(m_clock);
        QVERIFY_THROWS_EXCEPTION(TAppError, second.Start(LogPath()));
        QVERIFY(!second.IsOpen());
        QCOMPARE(ReadAll(LogPath()).size(), TRxLog::kBufferSize);
        log.Stop();
    }

    void errnoBecomesTheFileErrorText_data()
    {
        QTest::addColumn<int>("errnum");
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("message");
        const int create = int(TFileOperation::Create);
        const int open = int(TFileOperation::Open);
        const int write = int(TFileOperation::Write);
        QTest::newRow("missing file") << ENOENT << open << "File not found";
        QTest::newRow("missing folder") << ENOENT << create << "Invalid filename";
        QTest::newRow("not a folder") << ENOTDIR << create << "Invalid filename";
        QTest::newRow("name too long") << ENAMETOOLONG << create << "Invalid filename";
        QTest::newRow("process limit") << EMFILE << create << "Too many open files";
        QTest::newRow("system limit") << ENFILE << create << "Too many open files";
        QTest::newRow("permission") << EACCES << create << "File access denied";
        QTest::newRow("read-only medium") << EROFS << create << "File access denied";
        QTest::newRow("locked") << EWOULDBLOCK << create << "File access denied";
        QTest::newRow("no space") << ENOSPC << write << "Disk full";
        QTest::newRow("quota") << EDQUOT << write << "Disk full";
        QTest::newRow("file-size limit") << EFBIG << write << "I/O error 27";
        QTest::newRow("pipe reader gone") << EPIPE << write << "I/O error 32";
        QTest::newRow("medium removed") << EIO << write << "I/O error 5";
        QTest::newRow("no device") << ENXIO << create << "I/O error 6";
    }

    void errnoBecomesTheFileErrorText()
    {
        QFETCH(int, errnum);
        QFETCH(int, operation);
        QFETCH(QString, message);
        QCOMPARE(FileErrorText(errnum, TFileOperation(operation)), message);
    }

private:
    QString LogPath() const { return m_dir.filePath("velorand.log"); }

    QTemporaryDir m_dir;
    TFixedClock m_clock;
};

QTEST_GUILESS_MAIN(TstRxLog)
#include "tst_rxlog.moc"
