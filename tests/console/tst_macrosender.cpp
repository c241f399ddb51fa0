#include "commportdriver.h"
#include "fakeserialplatform.h"
#include "macrosender.h"

#include <QTest>

namespace {

// A driver open on a recording platform, with the echoed lines collected.
struct TSendRig
{
    TFakeSerialPlatform platform;
    TCommPortDriver driver{nullptr, &platform};
    QList<QByteArray> echoes;

    bool Open()
    {
        const bool opened = driver.OpenPort();
        platform.Calls.clear();
        return opened;
    }
    void Send(const QByteArray &text, bool rtsOnTx)
    {
        SendMacro(driver, text, rtsOnTx, [this](const QByteArray &line) { echoes << line; });
    }
};

QByteArray LongMacro(int length)
{
    QByteArray text;
    for (int i = 0; text.size() < length; ++i)
        text.append(char('A' + i % 26));
    return text;
}

} // namespace

class TstMacroSender : public QObject
{
    Q_OBJECT
private slots:
    void sendsEveryDecodedByteAndEchoesUpToFirstZero_data();
    void sendsEveryDecodedByteAndEchoesUpToFirstZero();
    void rtsFramesTheWriteOnlyUnderRtsOnTx_data();
    void rtsFramesTheWriteOnlyUnderRtsOnTx();
    void closedPortStillEchoes();
};

void TstMacroSender::sendsEveryDecodedByteAndEchoesUpToFirstZero_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("echo");

    QTest::newRow("AT and CR") << QByteArray("AT#013") << QByteArray("AT\r") << QByteArray("AT\r");
    QTest::newRow("zero in the middle") << QByteArray("A#000B") << QByteArray("A\0B", 3) << QByteArray("A");
    QTest::newRow("zero first") << QByteArray("$00xy") << QByteArray("\0xy", 3) << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("79 characters") << LongMacro(79) << LongMacro(79) << LongMacro(79);
    QTest::newRow("80 characters") << LongMacro(80) << LongMacro(80) << LongMacro(80);
    QTest::newRow("200 characters") << LongMacro(200) << LongMacro(200) << LongMacro(200);
    const QByteArray escapes = QByteArray("$41#066").repeated(40);   // 280 characters, 80 bytes
    QTest::newRow("long text of escapes") << escapes << QByteArray("AB").repeated(40) << QByteArray("AB").repeated(40);
}

void TstMacroSender::sendsEveryDecodedByteAndEchoesUpToFirstZero()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, echo);

    TSendRig rig;
    QVERIFY(rig.Open());
    rig.Send(text, false);
    QCOMPARE(rig.platform.Written, sent);
    QCOMPARE(rig.echoes, QList<QByteArray>{echo});
}

void TstMacroSender::rtsFramesTheWriteOnlyUnderRtsOnTx_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("rtsOnTx");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("framed") << QByteArray("ab") << true << QStringList{"Escape 3", "Write 2", "Escape 4"};
    QTest::newRow("empty macro still pulses") << QByteArray() << true << QStringList{"Escape 3", "Escape 4"};
    QTest::newRow("not framed") << QByteArray("ab") << false << QStringList{"Write 2"};
    QTest::newRow("empty macro, no framing") << QByteArray() << false << QStringList();
}

void TstMacroSender::rtsFramesTheWriteOnlyUnderRtsOnTx()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, rtsOnTx);
    QFETCH(QStringList, calls);

    TSendRig rig;
    QVERIFY(rig.Open());
    rig.Send(text, rtsOnTx);
    QCOMPARE(rig.platform.CallsStartingWith({"Escape", "Write"}), calls);
    QVERIFY(!rig.platform.Rts || !rtsOnTx);
}

void TstMacroSender::closedPortStillEchoes()
{
    TSendRig rig;
    rig.Send("hi#013", true);
    QCOMPARE(rig.echoes, QList<QByteArray>{"hi\r"});
    QVERIFY(rig.platform.Calls.isEmpty());
}

QTEST_GUILESS_MAIN(TstMacroSender)
#include "tst_macrosender.moc"
