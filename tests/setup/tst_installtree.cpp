// `cmake --install` of the build: the programs, the desktop entry, the AppStream metadata, the icon
// in the hicolor theme and the man pages, checked by Debian's own validators.
#include "commandrun.h"

#include <QDirIterator>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList FilesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace

class TstInstallTree : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString Installed(const QString &relative) const { return m_root.filePath("usr/" + relative); }

private slots:
    void initTestCase()
    {
        const TCommandResult result = RunCommand(
            QStringLiteral(CMAKE_COMMAND), {"--install", VELORAND_BUILD_DIR, "--prefix", Installed({})});
        QVERIFY2(result.ExitCode == 0, result.Out + result.Err);
    }

    void installsEveryFileAndNothingElse()
    {
        const QStringList expected = {
            "usr/bin/velorand",
            "usr/bin/velorand-devsim",
            "usr/share/applications/velorand.desktop",
            "usr/share/icons/hicolor/128x128/apps/velorand.png",
            "usr/share/icons/hicolor/256x256/apps/velorand.png",
            "usr/share/icons/hicolor/32x32/apps/velorand.png",
            "usr/share/icons/hicolor/48x48/apps/velorand.png",
            "usr/share/icons/hicolor/scalable/apps/velorand.svg",
            "usr/share/man/man1/velorand-devsim.1.gz",
            "usr/share/man/man1/velorand.1.gz",
            "usr/share/metainfo/org.velorand.velorand.metainfo.xml",
        };
        QCOMPARE(FilesUnder(m_root.path()), expected);
        for (const char *program : {"bin/velorand", "bin/velorand-devsim"})
            QVERIFY(QFileInfo(Installed(program)).isExecutable());
    }

    void iconSizesMatchTheirFolders_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {32, 48, 128, 256})
            QTest::addRow("%dx%d", size, size) << size;
    }

    void iconSizesMatchTheirFolders()
    {
        QFETCH(int, size);
        const QString folder = QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(size);
        QCOMPARE(QImageReader(Installed(folder + "velorand.png")).size(), QSize(size, size));
    }

    // validate-tree also checks that the metadata's desktop entry is where it says.
    void validatorsPass_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList{Installed("share/applications/velorand.desktop")};
        QTest::newRow("AppStream metadata")
            << "appstreamcli"
            << QStringList{"validate", "--no-net", Installed("share/metainfo/org.velorand.velorand.metainfo.xml")};
        QTest::newRow("AppStream tree") << "appstreamcli" << QStringList{"validate-tree", "--no-net", m_root.path()};
    }

    void validatorsPass()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QFAIL(qPrintable(program + " is not installed: scripts/deps.sh lists its package"));
        const TCommandResult result = RunCommand(program, arguments);
        QVERIFY2(result.ExitCode == 0, result.Out + result.Err);
    }
};

QTEST_GUILESS_MAIN(TstInstallTree)
#include "tst_installtree.moc"
