#include "mainformfixture.h"
#include "pseudoterminal.h"
#include "transmittyping.h"

#include "commportdriver.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QtTest>

// Typing into the transmit box with a device on a pseudo-terminal: what it receives, key by key.
class TstTransmitPty : public QObject
{
    Q_OBJECT

private slots:
    void deviceReceivesEachKey_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("crIsCrLf");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("shown");
        QTest::newRow("abc") << "abc" << false << QByteArray("abc") << "abc";
        QTest::newRow("Enter as CR") << "ok\r" << false << QByteArray("ok\r") << "ok\n";
        QTest::newRow("Enter as CR LF") << "ok\r" << true << QByteArray("ok\r\n") << "ok\n";
        QTest::newRow("Backspace") << "ab\b" << false << QByteArray("ab\b") << "a";
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("€") << false << QByteArray("\xE2\x82\xAC")
                                        << QString::fromUtf8("€");
    }
    void deviceReceivesEachKey()
    {
        QFETCH(QString, keys);
        QFETCH(bool, crIsCrLf);
        QFETCH(QByteArray, received);
        QFETCH(QString, shown);
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        TMainFormFixture f;
        f.MapPort(1, pty.SlavePath());
        f.Control<QCheckBox>("CRpLFCB")->setChecked(crIsCrLf);
        f.Click("ConnectBtn");
        QVERIFY(f.Form().CommPortDriver().IsOpen());

        auto *txMemo = f.Control<QPlainTextEdit>("TxMemo");
        TypeKeys(txMemo, keys);
        QCOMPARE(pty.Read(int(received.size())), received);
        QCOMPARE(txMemo->toPlainText(), shown);
    }

    void disconnectedPortSendsNothing()
    {
        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        TMainFormFixture f;
        f.MapPort(1, pty.SlavePath());
        f.Click("ConnectBtn");
        f.Click("DisconnectBtn");
        QVERIFY(!f.Form().CommPortDriver().IsOpen());
        auto *txMemo = f.Control<QPlainTextEdit>("TxMemo");
        TypeKeys(txMemo, "abc");
        QCOMPARE(txMemo->toPlainText(), QStringLiteral("abc"));
        QCOMPARE(pty.Read(1, 300), QByteArray());
    }
};

QTEST_MAIN(TstTransmitPty)
#include "tst_transmitpty.moc"
