// The Debian package that CPack makes from the build: its name and dependencies, and an install
// into a root of its own (checked against this machine's packages), a run and a clean removal.
#include "commandrun.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

QByteArray Architecture()
{
    return RunCommand(QStringLiteral("dpkg"), {"--print-architecture"}).Out.trimmed();
}

} // namespace

class TstDebPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_package;
    QString m_root;

    // dpkg on the test's root; its database starts as a copy of this machine's, so the package's
    // dependencies are checked against what is installed here. dpkg wants ldconfig and
    // start-stop-daemon on the PATH, which a user's PATH may lack.
    TCommandResult Dpkg(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), "/usr/sbin:/sbin:" + environment.value(QStringLiteral("PATH")));
        return RunCommand(QStringLiteral("dpkg"),
                          QStringList{"--root=" + m_root, "--log=" + m_work.filePath("dpkg.log")} + arguments,
                          120000, environment);
    }

    QStringList FilesUnderRoot(const QString &folder) const
    {
        QStringList files;
        QDirIterator it(m_root + '/' + folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    }

private slots:
    void initTestCase()
    {
        const TCommandResult result = RunCommand(
            QStringLiteral(CPACK_COMMAND),
            {"-G", "DEB", "-B", m_work.path(), "--config", VELORAND_BUILD_DIR "/CPackConfig.cmake"}, 300000);
        QVERIFY2(result.ExitCode == 0, result.Out + result.Err);
        m_package = m_work.filePath("velorand_" VELORAND_VERSION "_" + Architecture() + ".deb");
        QVERIFY2(QFileInfo::exists(m_package), qPrintable(m_package + " missing:\n" + result.Out));

        m_root = m_work.filePath(QStringLiteral("root"));
        for (const char *folder : {"var/lib/dpkg/info", "var/lib/dpkg/updates"})
            QVERIFY(QDir(m_root).mkpath(folder));
        QVERIFY(QFile::copy(QStringLiteral("/var/lib/dpkg/status"), m_root + "/var/lib/dpkg/status"));
    }

    void dependsOnTheLibrariesItLinks_data()
    {
        QTest::addColumn<QByteArray>("library");
        QTest::newRow("Qt Widgets") << QByteArray("libqt6widgets6");
        QTest::newRow("Qt GUI") << QByteArray("libqt6gui6");
        QTest::newRow("C library") << QByteArray("libc6");
        QTest::newRow("C++ library") << QByteArray("libstdc++6");
    }

    void dependsOnTheLibrariesItLinks()
    {
        QFETCH(QByteArray, library);
        const TCommandResult result = RunCommand(QStringLiteral("dpkg-deb"), {"--field", m_package, "Depends"});
        QCOMPARE(result.ExitCode, 0);
        const QList<QByteArray> depends = result.Out.split(',');
        QVERIFY2(std::any_of(depends.begin(), depends.end(),
                             [&](const QByteArray &item) { return item.trimmed().startsWith(library + ' ')
                                                               || item.trimmed() == library; }),
                 result.Out.constData());
    }

    void installsRunsAndRemovesCleanly()
    {
        if (::geteuid() != 0)
            QSKIP("dpkg installs into a root of its own only as root");
        const TCommandResult install = Dpkg({"--install", m_package});
        QVERIFY2(install.ExitCode == 0, install.Out + install.Err);
        QVERIFY(QFileInfo(m_root + "/usr/bin/velorand").isExecutable());
        QVERIFY(QFileInfo(m_root + "/usr/bin/velorand-devsim").isExecutable());

        const TCommandResult help = RunCommand(m_root + "/usr/bin/velorand-devsim", {"--help"});
        QCOMPARE(help.ExitCode, 0);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_work.filePath(QStringLiteral("config")));
        const TCommandResult version = RunCommand(m_root + "/usr/bin/velorand", {"--version"}, 10000, environment);
        QVERIFY2(version.ExitCode == 0 && version.Out.startsWith("velorand " VELORAND_VERSION),
                 version.Out + version.Err);

        const TCommandResult purge = Dpkg({"--purge", "velorand"});
        QVERIFY2(purge.ExitCode == 0, purge.Out + purge.Err);
        QCOMPARE(FilesUnderRoot(QStringLiteral("usr")), QStringList());
        QCOMPARE(RunCommand(QStringLiteral("dpkg-query"), {"--root=" + m_root, "--show", "velorand"}).ExitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TstDebPackage)
#include "tst_debpackage.moc"
