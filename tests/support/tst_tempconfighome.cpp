#include "tempconfighome.h"

#include <QtTest>

// Every store test relies on this redirection; if it leaked, tests would write the real user's files.
class TstTempConfigHome : public QObject
{
    Q_OBJECT
private slots:
    void redirectsAndRestoresConfigHome()
    {
        qputenv("XDG_CONFIG_HOME", "/nonexistent/original");
        QString path;
        {
            TTempConfigHome home;
            path = home.Path();
            QCOMPARE(qgetenv("XDG_CONFIG_HOME"), path.toLocal8Bit());
            QVERIFY(QDir(path).exists());
        }
        QCOMPARE(qgetenv("XDG_CONFIG_HOME"), QByteArray("/nonexistent/original"));
        QVERIFY(!QDir(path).exists());
    }
};

QTEST_GUILESS_MAIN(TstTempConfigHome)
#include "tst_tempconfighome.moc"
