// Noticing that a device path came back, from the file system's notices.
#include "devicewatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstDeviceWatch : public QObject
{
    Q_OBJECT

private slots:
    void foldersFollowLinksToTheNode_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("node") << "dev/ttyUSB0" << QStringList{"dev"};
        QTest::newRow("missing folder") << "dev/serial/by-id/usb-x" << QStringList{"dev"};
        QTest::newRow("link") << "links/board" << QStringList{"links", "dev"};
        QTest::newRow("link to a link") << "links/alias" << QStringList{"links", "dev"};
        QTest::newRow("loop") << "links/loop" << QStringList{"links"};
    }
    void foldersFollowLinksToTheNode()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, folders);
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("dev"));
        QDir(root.path()).mkpath(QStringLiteral("links"));
        QFile::link(root.filePath(QStringLiteral("dev/ttyUSB0")), root.filePath(QStringLiteral("links/board")));
        QFile::link(root.filePath(QStringLiteral("links/board")), root.filePath(QStringLiteral("links/alias")));
        QFile::link(root.filePath(QStringLiteral("links/loop")), root.filePath(QStringLiteral("links/loop")));
        QStringList expected;
        for (const QString &folder : folders)
            expected << root.filePath(folder);
        QCOMPARE(TDeviceWatch::FoldersFor(root.filePath(path)), expected);
    }

};

QTEST_GUILESS_MAIN(TstDeviceWatch)
#include "tst_devicewatch.moc"
