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

// Starts a display server of its own on the first free display; ":N", or empty when it failed.
QString StartXvfb(QProcess &xvfb)
{
    // -displayfd: the server prints its display number once it takes connections.
    xvfb.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
    xvfb.waitForStarted(30000);
    while (xvfb.state() == QProcess::Running && !xvfb.canReadLine())
        xvfb.waitForReadyRead(30000);
    const QByteArray number = xvfb.readLine().trimmed();
    return number.isEmpty() ? QString() : ":" + QString::fromLatin1(number);
}

// The real program on a temporary store. The signals start at their defaults (or SIGHUP ignored,
// as under nohup), whatever the test run itself was given.
class TVelorand : public QProcess
{
public:
    TVelorand(const QString &platform, const QString &display, bool hangUpIgnored,
              const QStringList &arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        environment.insert(QStringLiteral("DISPLAY"), display);
        setProcessEnvironment(environment);
        setChildProcessModifier([hangUpIgnored] {
            struct sigaction action = {};
            for (const int number : {SIGTERM, SIGHUP, SIGINT, SIGPIPE, SIGXFSZ}) {
                action.sa_handler = number == SIGHUP && hangUpIgnored ? SIG_IGN : SIG_DFL;
                ::sigaction(number, &action, nullptr);
            }
        });
        start(QStringLiteral(VELORAND_PATH), arguments);
    }
    ~TVelorand() override
    {
        kill();
        waitForFinished(30000);
    }

    TUserStore Store() const { return TUserStore(m_home.path() + "/velorand/registry.ini"); }
    // Whether the program handles the signal itself, as the kernel reports it.
    bool Catches(int signalNumber) const
    {
        const QByteArray status = FileText(QStringLiteral("/proc/%1/status").arg(processId()));
        for (const QByteArray &line : status.split('\n')) {
            if (line.startsWith("SigCgt:"))
                return line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1) & 1;
        }
        return false;
    }
    void Send(int signalNumber) const { ::kill(pid_t(processId()), signalNumber); }

private:
    QTemporaryDir m_home;
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
        // What a failed write into a pipe or past the file-size limit raises leaves it running.
        QTest::newRow("SIGPIPE, SIGXFSZ") << "offscreen" << QList<int>{SIGPIPE, SIGXFSZ, SIGTERM} << false << 143;
        // Qt's X11 plugin ends the program with exit(1) when the display goes.
        QTest::newRow("display lost") << "xcb" << QList<int>{} << false << 1;
    }
    void endSavesTheWindowState()
    {
        QFETCH(QString, platform);
        QFETCH(QList<int>, signalNumbers);
        QFETCH(bool, hangUpIgnored);
        QFETCH(int, status);
        QProcess xvfb;
        QString display;
        if (platform == "xcb") {
            if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
                QSKIP("Xvfb is not installed");
            display = StartXvfb(xvfb);
            QVERIFY(!display.isEmpty());
        }
        TVelorand velorand(platform, display, hangUpIgnored);
        // The first restore pass creates the store: from then on the window is up.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(velorand.Store().FilePath()), 60000);
        QVERIFY(!velorand.Store().KeyExists(kSection));
        // Two signals sent at once may reach the program's threads in either order: ask the
        // kernel instead whether a signal ignored at start stayed ignored.
        QCOMPARE(velorand.Catches(SIGHUP), !hangUpIgnored);

        for (const int number : signalNumbers)
            velorand.Send(number);
        xvfb.terminate();
        QVERIFY(velorand.waitForFinished(60000));
        xvfb.waitForFinished(30000);
        QCOMPARE(velorand.exitStatus(), QProcess::NormalExit);
        QCOMPARE(velorand.exitCode(), status);
        const TUserStore store = velorand.Store();
        // One batch writes the pass: its first and last values stand for all of it.
        QCOMPARE(store.ReadText(kSection, "FormVersion"), QString("0"));
        QCOMPARE(store.ReadText(kSection, "Visible"), QString("0"));
        QCOMPARE(store.ReadText(kSection, "CRpLFCB_Checked"), QString("False"));
    }

    // The log's error box of the command line comes up at start, before any click.
    void signalWhileTheStartIsAskingEndsTheProgram()
    {
        TVelorand velorand("offscreen", QString(), false, {"--log", "/nonexistent/velorand.log", "--connect"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(velorand.Store().FilePath()), 60000);
        velorand.Send(SIGTERM);
        QVERIFY(velorand.waitForFinished(60000));
        QCOMPARE(velorand.exitStatus(), QProcess::NormalExit);
        QCOMPARE(velorand.exitCode(), 143);
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
