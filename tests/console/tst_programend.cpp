// The ways the program ends besides Quit: termination signals and the display going away.
#include "mainformfixture.h"

#include "programend.h"
#include "userstore.h"

#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString kSection = QStringLiteral("Software\\velorand\\WindowState");

QByteArray FileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A display server of its own, on the first free display.
class TXvfb
{
public:
    TXvfb()
    {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        // -displayfd: the server prints its display number once it takes connections.
        m_process.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                                                 "1024x768x24"});
    }
    ~TXvfb() { Kill(); }

    // ":N", empty when the server did not start.
    QString Display()
    {
        m_process.waitForStarted(30000);
        while (m_process.state() == QProcess::Running && !m_process.canReadLine())
            m_process.waitForReadyRead(30000);
        const QByteArray number = m_process.readLine().trimmed();
        return number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
    }
    void Kill()
    {
        m_process.terminate();
        m_process.waitForFinished(30000);
    }

private:
    QProcess m_process;
};

// The real program on a temporary store. Signals it was given are reset to their defaults, so
// that a test run started in the background (which ignores SIGINT) cannot pass that on.
class TVelorand
{
public:
    TVelorand(const QString &platform, const QString &display, bool hangUpIgnored)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        environment.insert(QStringLiteral("DISPLAY"), display);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setChildProcessModifier([hangUpIgnored] {
            struct sigaction action = {};
            for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
                action.sa_handler = number == SIGHUP && hangUpIgnored ? SIG_IGN : SIG_DFL;
                ::sigaction(number, &action, nullptr);
            }
        });
        m_process.start(QStringLiteral(VELORAND_PATH), QStringList());
    }
    ~TVelorand()
    {
        m_process.kill();
        m_process.waitForFinished(30000);
    }

    // The first restore pass creates the store: from then on the window is up.
    bool IsUp() const { return QFile::exists(Store().FilePath()); }
    TUserStore Store() const { return TUserStore(m_home.path() + "/velorand/registry.ini"); }
    // Whether the program has a handler of its own for the signal, as the kernel reports it.
    bool Catches(int signalNumber) const
    {
        const QByteArray status = FileText(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
        for (const QByteArray &line : status.split('\n')) {
            if (line.startsWith("SigCgt:"))
                return line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1) & 1;
        }
        return false;
    }
    void Send(int signalNumber) { ::kill(pid_t(m_process.processId()), signalNumber); }
    // The exit status, or -1 when the program did not end by itself.
    int WaitForExit()
    {
        if (!m_process.waitForFinished(60000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }
    QByteArray Output() { return m_process.readAll(); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};

} // namespace

class TstProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void endSavesTheWindowState_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QList<int>>("signalNumbers");   // none: the display server is killed
        QTest::addColumn<bool>("hangUpIgnored");
        QTest::addColumn<int>("status");
        QTest::newRow("SIGTERM") << "offscreen" << QList<int>{SIGTERM} << false << 143;
        QTest::newRow("SIGHUP") << "offscreen" << QList<int>{SIGHUP} << false << 129;
        QTest::newRow("SIGINT") << "offscreen" << QList<int>{SIGINT} << false << 130;
        QTest::newRow("SIGHUP under nohup") << "offscreen" << QList<int>{SIGHUP, SIGTERM} << true << 143;
        // Qt's X11 plugin ends the program with exit(1) when the display goes.
        QTest::newRow("display lost") << "xcb" << QList<int>{} << false << 1;
    }
    void endSavesTheWindowState()
    {
        QFETCH(QString, platform);
        QFETCH(QList<int>, signalNumbers);
        QFETCH(bool, hangUpIgnored);
        QFETCH(int, status);
        std::optional<TXvfb> xvfb;
        QString display;
        if (platform == "xcb") {
            if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
                QSKIP("Xvfb is not installed");
            display = xvfb.emplace().Display();
            QVERIFY(!display.isEmpty());
        }
        TVelorand velorand(platform, display, hangUpIgnored);
        QTRY_VERIFY_WITH_TIMEOUT(velorand.IsUp(), 60000);
        QVERIFY(!velorand.Store().KeyExists(kSection));
        // Two signals sent at once may reach the program's threads in either order: ask the
        // kernel instead whether a signal ignored at start stayed ignored.
        QCOMPARE(velorand.Catches(SIGHUP), !hangUpIgnored);

        for (const int number : signalNumbers)
            velorand.Send(number);
        if (xvfb)
            xvfb->Kill();
        const int exitStatus = velorand.WaitForExit();
        if (exitStatus != status)
            qWarning().noquote() << velorand.Output();
        QCOMPARE(exitStatus, status);
        const TUserStore store = velorand.Store();
        // One batch writes the pass: its first and last values stand for all of it.
        QCOMPARE(store.ReadText(kSection, "FormVersion"), QString("0"));
        QCOMPARE(store.ReadText(kSection, "Visible"), QString("0"));
        QCOMPARE(store.ReadText(kSection, "CRpLFCB_Checked"), QString("False"));
    }

    void signalEndsEveryLoopAndClosesTheLogWithoutTrailer()
    {
        TMainFormFixture f;
        f.Form().show();
        const QTemporaryDir dir;
        const QString logPath = dir.filePath("velorand.log");
        f.Dialogs.FileAnswers.push_back(logPath);
        f.Click("StartLog");
        TProgramEnd end(f.Form());

        int dialogResult = -1;
        QTimer::singleShot(0, &f.Form(), [&] {
            QDialog dialog(&f.Form());
            QTimer::singleShot(0, [] { std::raise(SIGTERM); });
            dialogResult = dialog.exec();
        });
        QCOMPARE(QCoreApplication::exec(), 143);
        QCOMPARE(dialogResult, int(QDialog::Rejected));
        QVERIFY(!f.Form().isVisible());
        // The header alone: written out by the close, no trailer after it.
        const QByteArray log = FileText(logPath);
        QVERIFY(log.startsWith("Velorand log file\r\n"));
        QVERIFY(log.endsWith(QByteArray(47, '-') + "\r\n"));
        QCOMPARE(log.count('\n'), 3);
    }

    void errorsWhileEndingGoToStandardErrorNotToABox()
    {
        TMainFormFixture f;
        f.Form().show();
        f.Dialogs.FileAnswers.push_back(QString("/dev/full"));
        f.Click("StartLog");
        QVERIFY(!f.Control<QPushButton>("StartLog")->isEnabled());
        TProgramEnd end(f.Form());

        QTest::ignoreMessage(QtWarningMsg, "Disk full.");
        std::raise(SIGINT);
        QTRY_VERIFY(!f.Form().isVisible());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

QTEST_MAIN(TstProgramEnd)
#include "tst_programend.moc"
