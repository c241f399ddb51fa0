// What scripts/run and scripts/test say when they cannot go on: packages missing and no way to
// become root, or no display to show a window on.
#include "commandrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSourceDir = QStringLiteral(VELORAND_SOURCE_DIR);

// A PATH of its own: links to the system's programs except sudo and the two that the tests stand
// in for, an `id` that says the user is not root and a `dpkg-query` that finds nothing or everything.
// The stand-ins are never written through a link, which would overwrite the system's program.
class TFakePath
{
public:
    TFakePath()
    {
        const QStringList left = {QStringLiteral("sudo"), QStringLiteral("id"), QStringLiteral("dpkg-query")};
        QDir bin(m_dir.path());
        for (const QString &folder : {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}) {
            for (const QFileInfo &program : QDir(folder).entryInfoList(QDir::Files | QDir::System)) {
                if (!left.contains(program.fileName()))
                    QFile::link(program.absoluteFilePath(), bin.filePath(program.fileName()));
            }
        }
        Write(QStringLiteral("id"), "echo 1000");
    }

    void Write(const QString &name, const QByteArray &body)
    {
        QFile file(QDir(m_dir.path()).filePath(name));
        QVERIFY(!QFileInfo(file).isSymLink());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    }

    // The environment of a desktop-less shell whose PATH is this one.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("PATH"), m_dir.path());
        return environment;
    }

private:
    QTemporaryDir m_dir;
};

QByteArray PackageList()
{
    const TCommandResult result = RunCommand(
        QStringLiteral("bash"), {"-c", ". scripts/deps.sh && echo \"${VELORAND_PACKAGES[*]}\""});
    return result.Out.trimmed();
}

} // namespace

class TstSetupScripts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDir::setCurrent(kSourceDir);
        QVERIFY(!PackageList().isEmpty());
    }

    void missingPackagesWithoutRootNameTheInstallLine_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("sudo");
        QTest::newRow("run, no sudo") << "scripts/run" << QByteArray();
        QTest::newRow("test, no sudo") << "scripts/test" << QByteArray();
        QTest::newRow("run, sudo refuses") << "scripts/run" << QByteArray("echo 'not in sudoers' >&2; exit 1");
    }

    void missingPackagesWithoutRootNameTheInstallLine()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, sudo);
        TFakePath path;
        path.Write(QStringLiteral("dpkg-query"), "exit 1");
        if (!sudo.isEmpty())
            path.Write(QStringLiteral("sudo"), sudo);

        const TCommandResult result = RunCommand(script, {}, 60000, path.Environment());
        QCOMPARE(result.ExitCode, 1);
        QVERIFY2(result.Err.contains("\n    apt-get update && apt-get install --no-install-recommends "
                                     + PackageList() + "\n"),
                 result.Err.constData());
        QVERIFY2(!result.Err.contains("command not found"), result.Err.constData());
    }

    void noDisplaySaysWhatToDo()
    {
        TFakePath path;
        path.Write(QStringLiteral("dpkg-query"), "echo 'install ok installed'");

        const TCommandResult result = RunCommand(QStringLiteral("scripts/run"), {}, 60000, path.Environment());
        QCOMPARE(result.ExitCode, 1);
        QVERIFY2(result.Err.contains("needs a desktop session"), result.Err.constData());
        QVERIFY2(result.Err.contains("\n    xvfb-run scripts/run\n"), result.Err.constData());
        QCOMPARE(result.Out, QByteArray());
    }
};

QTEST_GUILESS_MAIN(TstSetupScripts)
#include "tst_setupscripts.moc"
