#include "devsimprocess.h"
#include "mainformfixture.h"
#include "nothinghappens.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "memoview.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <optional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Lowers the soft limit on file sizes for as long as it lives.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        const rlimit lowered{bytes, m_before.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

} // namespace

// The receive display and log in the real window, fed through a pseudo-terminal on COM1.
class TstReceiveWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_f = std::make_unique<TMainFormFixture>();
        m_pty = std::make_unique<TPseudoTerminal>();
        QVERIFY(m_pty->IsValid());
        QVERIFY(m_f->ConnectCom1(*m_pty));
        QVERIFY(m_f->Control<QPushButton>("DisconnectBtn")->isEnabled());
        QFile::remove(m_dir.filePath("velorand.log"));
    }

    void cleanup()
    {
        m_f.reset();
        m_pty.reset();
    }

    void linesCounterAndColumnsFollowTheControls()
    {
        m_f->Control<QCheckBox>("CBoxHex")->setChecked(true);
        Send("a\r\nb\r\n");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("a\r\nb\r\n\r\n"));
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("2"));
        QCOMPARE(Box("Memo2")->Source().RowCount(), 6);
        QCOMPARE(Box("Memo2")->Source().RowText(2), QByteArray("0A"));
        QCOMPARE(Box("Memo1")->Source().RowCount(), 0);

        m_f->Control<QCheckBox>("CRLFCBox")->setChecked(true);
        Send("c\n");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("a\r\nb\r\nc\r\n\r\n"));
        QCOMPARE(Box()->accessibleName(), QString("Receive"));
    }

    // The board at the window's 4800 baud: its lines come in over many reads, each shows one stamp.
    void lineThatTricklesInShowsOneStamp()
    {
        TDevSimProcess board(DEVSIM_PATH, {"--baud", "4800"});
        const QString path = board.DevicePath();
        QVERIFY(!path.isEmpty());
        m_f->Click("DisconnectBtn");
        m_f->MapPort(1, path);
        m_f->Control<QCheckBox>("TCBox")->setChecked(true);
        TCommPortDriver &driver = m_f->Form().CommPortDriver();
        int reads = 0;
        driver.OnReceiveData = [&reads, show = driver.OnReceiveData](QObject *sender, const void *data,
                                                                     int size) {
            ++reads;
            show(sender, data, size);
        };
        m_f->Click("ConnectBtn");
        // Waited for in a running event loop, which takes each piece as it comes; a line is split
        // when there are more reads than lines.
        QSignalSpy frames(Box(), &TMemoView::FrameApplied);
        QStringList lines;
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && (lines.size() < 4 || reads < lines.size() + 2)) {
            frames.wait(1000);
            lines = QString::fromLatin1(Box()->Lines().Text()).split(QStringLiteral("\r\n"));
        }
        QVERIFY2(lines.size() >= 4 && reads >= lines.size() + 2, qPrintable(QString::number(reads)));
        for (const QString &line : lines)
            QVERIFY2(line.isEmpty() || line.count(QStringLiteral("> ")) == 1, qPrintable(line));
        const QRegularExpression sensorLine("^[^>]+> T=\\d+\\.\\dC H=\\d+%$");
        QVERIFY2(sensorLine.match(lines[1]).hasMatch(), qPrintable(lines[1]));
    }

    void hexModeShowsValues()
    {
        m_f->Control<QRadioButton>("RxMemoHex")->setChecked(true);
        for (const char *name : {"CBoxDec", "CBoxHex", "CBoxBin"})
            m_f->Control<QCheckBox>(name)->setChecked(true);
        Send("A\r\n");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("41 0D 0A "));
        QCOMPARE(Box("Memo1")->Source().RowText(0), QByteArray("65"));
        QCOMPARE(Box("Memo3")->Source().RowText(2), QByteArray("00001010"));
        QCOMPARE(m_f->Form().IntToBin(13), QByteArray("00001101"));
    }

    void clearKeepsTheCounterAndResetZeroesIt()
    {
        m_f->Control<QCheckBox>("CBoxDec")->setChecked(true);
        Send("x\ry\r");
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("2"));
        m_f->Click("ClrRxMemo");
        QCOMPARE(Box()->Lines().Text(), QByteArray());
        QCOMPARE(Box("Memo1")->Source().RowCount(), 0);
        QCOMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("2"));
        m_f->Click("Button2");
        QCOMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("0"));
        Send("\r");
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("1"));

        // A count still waiting to be shown must not bring the old number back after a reset.
        m_f->Form().CommPortDriverReceiveData(nullptr, "\r\r", 2);
        m_f->Click("Button2");
        QCOMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("0"));
        QVERIFY(NothingHappensWithin(100, [&] { return m_f->Control<QLabel>("LabCount0")->text() != "0"; }));

        // A block that leaves the box as it was still shows its count.
        m_f->Control<QSpinBox>("ChCount0")->setValue(8);
        m_f->Form().CommPortDriverReceiveData(nullptr, "\b", 1);
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("1"));
    }

    void logRecordsWhatArrivesBetweenStartAndStop()
    {
        m_f->Dialogs.FileAnswers.push_back(m_dir.filePath("velorand.log"));
        m_f->Click("StartLog");
        QCOMPARE(m_f->Dialogs.FileRequests.size(), 1);
        QCOMPARE(m_f->Dialogs.FileRequests[0].Title, QString("Select log file"));
        QCOMPARE(m_f->Dialogs.FileRequests[0].FileName, QString("velorand.log"));
        QCOMPARE(m_f->Dialogs.FileRequests[0].FilterIndex, 1);
        QVERIFY(!m_f->Control<QPushButton>("StartLog")->isEnabled());
        QVERIFY(m_f->Control<QPushButton>("StopLog")->isEnabled());
        Send("OK\r\n");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("OK\r\n\r\n"));
        m_f->Click("StopLog");
        QVERIFY(m_f->Control<QPushButton>("StartLog")->isEnabled());
        const QByteArray log = LogText();
        QVERIFY2(log.startsWith("Velorand log file\r\nDate: "), log.constData());
        QVERIFY2(log.contains(QByteArray(47, '-') + "\r\nOK\x10\n\r\n" + QByteArray(47, '-')), log.constData());
        QVERIFY(log.endsWith("\r\nEnd log file\r\n"));
    }

    void refusedOrCancelledLogStaysClosed_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("error");
        QTest::newRow("cancelled") << true << QString();
        QTest::newRow("under a regular file") << false << QString("Invalid filename.");
    }

    void refusedOrCancelledLogStaysClosed()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, error);
        QFile blocker(m_dir.filePath("plain"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_f->Dialogs.FileAnswers.push_back(cancel ? std::optional<QString>() : m_dir.filePath("plain/x.log"));
        m_f->Click("StartLog");
        QVERIFY(m_f->Control<QPushButton>("StartLog")->isEnabled());
        QVERIFY(!m_f->Control<QPushButton>("StopLog")->isEnabled());
        QCOMPARE(m_f->Dialogs.Errors.size(), cancel ? 0 : 1);
        if (!cancel)
            QCOMPARE(m_f->Dialogs.Errors[0].Text, error);
    }

    void closingTheWindowClosesTheLogWithoutTrailer()
    {
        m_f->Control<QRadioButton>("RxMemoHex")->setChecked(true);
        m_f->Dialogs.FileAnswers.push_back(m_dir.filePath("velorand.log"));
        m_f->Click("StartLog");
        Send("AB");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("41 42 "));
        m_f->Form().close();
        QVERIFY(LogText().endsWith(QByteArray(47, '-') + "\r\n41 42 "));
    }

    void fullDiskEndsTheBlockWithAnErrorBox()
    {
        m_f->Dialogs.FileAnswers.push_back(QString("/dev/full"));
        m_f->Click("StartLog");
        QVERIFY(!m_f->Control<QPushButton>("StartLog")->isEnabled());
        Send(QByteArray(400, 'z'));
        QTRY_VERIFY(!m_f->Dialogs.Errors.isEmpty());
        QCOMPARE(m_f->Dialogs.Errors[0].Text, QString("Disk full."));
        m_f->Click("StopLog");
        QVERIFY(!m_f->Control<QPushButton>("StartLog")->isEnabled());
        QVERIFY(m_f->Dialogs.Errors.size() >= 2);
    }

    void failedLogWriteIsReportedAndTheProgramGoesOn_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<QString>("error");
        QTest::newRow("pipe whose reader has gone") << true << "I/O error 32.";
        QTest::newRow("file-size limit reached") << false << "I/O error 27.";
    }

    void failedLogWriteIsReportedAndTheProgramGoesOn()
    {
        QFETCH(bool, pipe);
        QFETCH(QString, error);
        // The signals as a fresh process has them, whatever Qt or an earlier window left: the
        // window's own start must keep them from ending the program.
        cleanup();
        for (const int number : {SIGPIPE, SIGXFSZ})
            std::signal(number, SIG_DFL);
        init();
        const QString path = m_dir.filePath(pipe ? "pipe.log" : "velorand.log");
        int reader = -1;
        if (pipe) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
        }
        m_f->Dialogs.FileAnswers.push_back(path);
        m_f->Click("StartLog");
        QVERIFY(!m_f->Control<QPushButton>("StartLog")->isEnabled());

        std::optional<TFileSizeLimit> limit;
        if (pipe)
            ::close(reader);
        else
            limit.emplace(1024);
        Send(QByteArray(4096, 'z'));
        QTRY_VERIFY(!m_f->Dialogs.Errors.isEmpty());
        QCOMPARE(m_f->Dialogs.Errors[0].Text, error);
        QVERIFY(!m_f->Control<QPushButton>("StartLog")->isEnabled());
    }

private:
    TMemoView *Box(const char *name = "RxMemo") const { return m_f->Control<TMemoView>(name); }

    std::unique_ptr<TMainFormFixture> m_f;
    std::unique_ptr<TPseudoTerminal> m_pty;
    QTemporaryDir m_dir;

    void Send(const QByteArray &data)
    {
        QVERIFY(m_pty->Write(data));
    }

    QByteArray LogText() const
    {
        QFile file(m_dir.filePath("velorand.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(TstReceiveWindow)
#include "tst_receivewindow.moc"
