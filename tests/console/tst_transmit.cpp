#include "fakeserialplatform.h"
#include "filesendtestfiles.h"
#include "transmittyping.h"
#include "mainformfixture.h"

#include "aled.h"
#include "commportdriver.h"
#include "filesender.h"
#include "historycombobox.h"
#include "radiogroup.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int kRtsOnTx = 4;

} // namespace

// Typing into the transmit box, its CLEAR button and the DTR and RTS buttons, on the recording fake.
class TstTransmit : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFakeSerialPlatform> m_platform;
    std::unique_ptr<TMainFormFixture> m_f;

    TMainFormFixture &F() { return *m_f; }
    QPlainTextEdit *TxMemo() { return F().Control<QPlainTextEdit>("TxMemo"); }
    void Connect()
    {
        F().Click("ConnectBtn");
        QVERIFY(F().Form().CommPortDriver().IsOpen());
        m_platform->Calls.clear();
        m_platform->Written.clear();
    }
    void SendFile(const QString &path)
    {
        F().Dialogs.FileAnswers.push_back(path);
        F().Click("SendFileBtn");
        QVERIFY(F().Form().FileSender().IsRunning());
    }
    QStringList LineAndWriteCalls() const { return m_platform->CallsStartingWith({"Escape", "Write"}); }

    // LED value and the enabled state of SET and CLR, for one line ("DTR" or "RTS").
    QList<bool> LineControls(const QString &line)
    {
        return {F().Control<TALed>(qPrintable(line + "Led"))->Value(),
                F().Control<QPushButton>(qPrintable("Set" + line + "Btn"))->isEnabled(),
                F().Control<QPushButton>(qPrintable("Clr" + line + "Btn"))->isEnabled()};
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TFakeSerialPlatform>();
        m_f = std::make_unique<TMainFormFixture>(m_platform.get());
    }
    void cleanup()
    {
        m_f.reset();
        m_platform.reset();
    }

    void typedKeysGoOutAtOnce_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("crIsCrLf");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("abc") << "abc" << false << QByteArray("abc")
                             << QStringList{"Write 1", "Write 1", "Write 1"} << "abc";
        QTest::newRow("Enter as CR") << "a\r" << false << QByteArray("a\r")
                                     << QStringList{"Write 1", "Write 1"} << "a\n";
        QTest::newRow("Enter as CR LF") << "a\r" << true << QByteArray("a\r\n")
                                        << QStringList{"Write 1", "Write 2"} << "a\n";
        QTest::newRow("Backspace") << "ab\b" << false << QByteArray("ab\b")
                                   << QStringList{"Write 1", "Write 1", "Write 1"} << "a";
        QTest::newRow("Latin-1 letter") << QString::fromUtf8("é") << false << QByteArray("\xE9")
                                        << QStringList{"Write 1"} << QString::fromUtf8("é");
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("€") << false << QByteArray("\xE2\x82\xAC")
                                        << QStringList{"Write 3"} << QString::fromUtf8("€");
        QTest::newRow("beyond the basic plane") << QString::fromUtf8("😀") << false
                                                << QByteArray("\xF0\x9F\x98\x80") << QStringList{"Write 4"}
                                                << QString::fromUtf8("😀");
    }
    void typedKeysGoOutAtOnce()
    {
        QFETCH(QString, keys);
        QFETCH(bool, crIsCrLf);
        QFETCH(QByteArray, sent);
        QFETCH(QStringList, writes);
        QFETCH(QString, shown);
        F().Control<QCheckBox>("CRpLFCB")->setChecked(crIsCrLf);
        Connect();
        TypeKeys(TxMemo(), keys);
        QCOMPARE(m_platform->Written, sent);
        QCOMPARE(LineAndWriteCalls(), writes);
        QCOMPARE(TxMemo()->toPlainText(), shown);
    }

    void textFromAnInputMethodGoesOutToo()
    {
        Connect();
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("ü€"));
        QCoreApplication::sendEvent(TxMemo(), &commit);
        QCOMPARE(m_platform->Written, QByteArray("\xFC\xE2\x82\xAC"));
        QCOMPARE(TxMemo()->toPlainText(), QString::fromUtf8("ü€"));
    }

    void closedPortShowsTypingAndSendsNothing()
    {
        F().Control<TRadioGroup>("HandshakingRG")->SetItemIndex(kRtsOnTx);
        m_platform->Calls.clear();
        TypeKeys(TxMemo(), "abc\r");
        QCOMPARE(TxMemo()->toPlainText(), QStringLiteral("abc\n"));
        QCOMPARE(LineAndWriteCalls(), QStringList());
    }

    void rtsOnTxFramesEveryKey_data()
    {
        QTest::addColumn<bool>("crIsCrLf");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("CR") << false
                            << QStringList{"Escape 3", "Write 1", "Escape 4", "Escape 3", "Write 1", "Escape 4"};
        QTest::newRow("CR LF") << true
                               << QStringList{"Escape 3", "Write 1", "Escape 4", "Escape 3", "Write 2", "Escape 4"};
    }
    void rtsOnTxFramesEveryKey()
    {
        QFETCH(bool, crIsCrLf);
        QFETCH(QStringList, calls);
        F().Control<QCheckBox>("CRpLFCB")->setChecked(crIsCrLf);
        F().Control<TRadioGroup>("HandshakingRG")->SetItemIndex(kRtsOnTx);
        Connect();
        TypeKeys(TxMemo(), "x\r");
        QCOMPARE(LineAndWriteCalls(), calls);
        QVERIFY(!m_platform->Rts);
    }

    void rtsOnTxLeavesTheLedShowingOn()
    {
        Connect();
        F().Click("SetRTSBtn");
        QVERIFY(m_platform->Rts);
        F().Control<TRadioGroup>("HandshakingRG")->SetItemIndex(kRtsOnTx);
        TypeKeys(TxMemo(), "x");
        QVERIFY(!m_platform->Rts);
        QCOMPARE(LineControls("RTS"), (QList<bool>{true, false, true}));
    }

    // The file goes out without RTS pulses; the macro is echoed at the click but its bytes, and its
    // RTS pulse, wait for the whole file.
    void macroClickedDuringFileSendIsFramedAfterIt()
    {
        QTemporaryDir dir;
        const QByteArray bytes = FilePattern(3000);
        F().Control<TRadioGroup>("HandshakingRG")->SetItemIndex(kRtsOnTx);
        F().Control<THistoryComboBox>("lbMacro1")->setEditText("m#049");
        Connect();
        SendFile(WriteTestFile(dir, "image.hex", bytes));
        F().Click("bMacro1");
        QCOMPARE(TxMemo()->toPlainText(), QStringLiteral("m1\n"));
        QTRY_COMPARE(m_platform->Written.size(), bytes.size() + 2);
        QVERIFY(m_platform->Written == bytes + "m1");
        const QStringList calls = LineAndWriteCalls();
        QCOMPARE(calls.mid(calls.size() - 3), (QStringList{"Escape 3", "Write 2", "Escape 4"}));
        QCOMPARE(m_platform->CallsStartingWith({"Escape"}), (QStringList{"Escape 3", "Escape 4"}));
        QVERIFY(!m_platform->Rts);
    }

    void clearEmptiesTheBoxAndSendsNothing()
    {
        Connect();
        TypeKeys(TxMemo(), "ab\rc");
        m_platform->Calls.clear();
        F().Click("ClrTxMemo");
        QCOMPARE(TxMemo()->toPlainText(), QString());
        QCOMPARE(LineAndWriteCalls(), QStringList());
    }

    void lineButtonsDriveTheirLineOnly_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("DTR connected") << "DTR" << "RTS" << true << QStringList{"Escape 5", "Escape 6"};
        QTest::newRow("RTS connected") << "RTS" << "DTR" << true << QStringList{"Escape 3", "Escape 4"};
        QTest::newRow("DTR disconnected") << "DTR" << "RTS" << false << QStringList();
        QTest::newRow("RTS disconnected") << "RTS" << "DTR" << false << QStringList();
    }
    void lineButtonsDriveTheirLineOnly()
    {
        QFETCH(QString, line);
        QFETCH(QString, other);
        QFETCH(bool, connected);
        QFETCH(QStringList, calls);
        if (connected)
            Connect();
        m_platform->Calls.clear();
        const QList<bool> otherBefore = LineControls(other);

        F().Click(qPrintable("Set" + line + "Btn"));
        QCOMPARE(LineControls(line), (QList<bool>{true, false, true}));
        QCOMPARE(LineControls(other), otherBefore);
        F().Click(qPrintable("Set" + line + "Btn"));   // disabled: the same command cannot repeat
        F().Click(qPrintable("Clr" + line + "Btn"));
        QCOMPARE(LineControls(line), (QList<bool>{false, true, false}));
        QCOMPARE(LineControls(other), otherBefore);
        QCOMPARE(LineAndWriteCalls(), calls);
    }

    void connectAndDisconnectLeaveLineControlsAlone()
    {
        F().Click("SetDTRBtn");
        F().Click("ConnectBtn");
        QVERIFY(F().Form().CommPortDriver().IsOpen());
        QVERIFY(!m_platform->Dtr);
        QCOMPARE(LineControls("DTR"), (QList<bool>{true, false, true}));
        QCOMPARE(LineControls("RTS"), (QList<bool>{false, true, false}));
        F().Click("DisconnectBtn");
        QCOMPARE(LineControls("DTR"), (QList<bool>{true, false, true}));
        QCOMPARE(LineControls("RTS"), (QList<bool>{false, true, false}));
    }
};

QTEST_MAIN(TstTransmit)
#include "tst_transmit.moc"
