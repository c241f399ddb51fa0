#include "dumprow.h"
#include "fixedclock.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "memoview.h"
#include "useroptions.h"
#include "userstore.h"

#include <QtTest>

#include <cerrno>

#include <unistd.h>

using TStored = QList<std::pair<QString, QString>>;

// The receive box's view additions in the real window, chosen in its right-click menu and fed
// through a pseudo-terminal on COM1, with a clock the test sets.
class TstRxView : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_f = std::make_unique<TMainFormFixture>();
        m_pty = std::make_unique<TPseudoTerminal>();
        QVERIFY(m_pty->IsValid());
        Start();
    }

    void cleanup()
    {
        m_f.reset();
        m_pty.reset();
    }

    void additionsAreOffUnlessStored_data()
    {
        QTest::addColumn<TStored>("stored");
        QTest::newRow("nothing stored") << TStored{};
        QTest::newRow("malformed") << TStored{{"TimeStampFormat", "Millis"}, {"TimeStampInLog", "yes"},
                                              {"ScrollBack", "-1"}, {"HexDumpRows", ""}};
    }

    // The designed box: a stamp in the regional form, cleared past 500 lines.
    void additionsAreOffUnlessStored()
    {
        QFETCH(TStored, stored);
        QVERIFY(stored.isEmpty() || TUserStore().WriteTexts(UserOptions::Key(), stored));
        Restart();
        const std::pair<const char *, bool> items[] = {
            {"StampRegional", true}, {"StampsInLog", false}, {"ScrollBack500", true}, {"HexDumpRows", false}};
        for (const auto &[item, checked] : items)
            QCOMPARE(Item(item)->isChecked(), checked);
        QVERIFY(!Item("HexDumpRows")->isEnabled());

        m_f->Control<QCheckBox>("TCBox")->setChecked(true);
        Stream(QByteArray("x\r").repeated(500));
        QTRY_COMPARE(Box().Count(), 501);
        Stream("y\r");
        QTRY_COMPARE(Box().Text(), QByteArray("14:05:09> y\r\n\r\n"));
    }

    void choicesAreStoredAndReadAtStart()
    {
        m_f->Control<QRadioButton>("RxMemoHex")->setChecked(true);
        const char *const items[] = {"StampDelta", "StampsInLog", "ScrollBack100000", "HexDumpRows"};
        for (const char *item : items)
            Item(item)->trigger();
        const TStored expected{{"TimeStampFormat", "Delta"}, {"TimeStampInLog", "True"},
                               {"ScrollBack", "100000"}, {"HexDumpRows", "True"}};
        for (const auto &[name, value] : expected)
            QCOMPARE(UserOptions::Text(name), value);
        Restart();
        for (const char *item : items)
            QVERIFY2(Item(item)->isChecked(), item);
    }

    // Two lines a quarter of a second apart; the log takes the chosen form only when told to.
    void stampsTakeTheChosenForm_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("inLog");
        QTest::addColumn<QByteArrayList>("box");
        QTest::addColumn<QByteArrayList>("log");
        const QByteArrayList regional{"14:05:09", "14:05:09"};
        const QByteArrayList delta{"+0 ms", "+250 ms"};
        QTest::newRow("regional") << "StampRegional" << true << regional << regional;
        QTest::newRow("milliseconds") << "StampMilliseconds" << false
                                      << QByteArrayList{"14:05:09.042", "14:05:09.042"} << regional;
        QTest::newRow("delta in log") << "StampDelta" << true << delta << delta;
    }

    void stampsTakeTheChosenForm()
    {
        QFETCH(QString, item);
        QFETCH(bool, inLog);
        QFETCH(QByteArrayList, box);
        QFETCH(QByteArrayList, log);
        Item(qPrintable(item))->trigger();
        if (inLog)
            Item("StampsInLog")->trigger();
        m_f->Control<QCheckBox>("TCBox")->setChecked(true);
        StartLog();
        m_clock.Ms = 1000;
        Stream("a\r");
        QTRY_COMPARE(Box().Text(), box[0] + "> a\r\n\r\n");
        m_clock.Ms = 1250;
        Stream("b\r");
        QTRY_COMPARE(Box().Text(), box[0] + "> a\r\n" + box[1] + "> b\r\n\r\n");
        QVERIFY(LogBody().startsWith("a\r" + log[0] + "> b\r" + log[1] + "> \r\n"));
    }

    // The empty line in progress is the newest line.
    void scrollBackKeepsTheNewestLines()
    {
        Item("ScrollBack100000")->trigger();
        QByteArray lines;
        for (int n = 0; n < 100005; ++n)
            lines += QByteArray::number(n).rightJustified(6, '0') + '\r';
        Stream(lines);
        QTRY_COMPARE(Box().Get(99998), QByteArray("100004"));
        QCOMPARE(Box().Count(), 100000);
        QCOMPARE(Box().Get(0), QByteArray("000006"));
    }

    // The log's HEX records keep their designed lines of 16 values.
    void dumpRowsCountOffsetsAcrossReadsFromClear()
    {
        m_f->Control<QRadioButton>("RxMemoHex")->setChecked(true);
        Item("HexDumpRows")->trigger();
        StartLog();
        Stream("ABCDEFGHIJKLMNOPQRST");
        QTRY_COMPARE(Box().Text(), DumpRow(0, "ABCDEFGHIJKLMNOP") + "\r\n" + DumpRow(16, "QRST"));
        Stream("\r\nUVWXYZ\x7F");
        QTRY_COMPARE(Box().Text(), DumpRow(0, "ABCDEFGHIJKLMNOP") + "\r\n" + DumpRow(16, "QRST\r\nUVWXYZ\x7F"));
        QVERIFY(Box().Text().contains("\r\n00000010  51 52 53 54 0D 0A 55 56"));
        m_f->Click("ClrRxMemo");
        Stream("xyz");
        QTRY_COMPARE(Box().Text(), DumpRow(0, "xyz"));
        QVERIFY(LogBody().startsWith("41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 \r\n51 52 "));
    }

private:
    std::unique_ptr<TMainFormFixture> m_f;
    std::unique_ptr<TPseudoTerminal> m_pty;
    TFixedClock m_clock;
    QTemporaryDir m_dir;

    void Start()
    {
        m_f->Form().SetClock(&m_clock);
        QVERIFY(m_f->ConnectCom1(*m_pty));
    }

    void Restart()
    {
        m_f->Restart();
        Start();
    }

    TMemoLines &Box() const { return m_f->Control<TMemoView>("RxMemo")->Lines(); }

    // An item of the receive box's right-click menu.
    QAction *Item(const char *name) const { return m_f->Control<QAction>(name); }

    void StartLog()
    {
        m_f->Dialogs.FileAnswers.push_back(m_dir.filePath("velorand.log"));
        m_f->Click("StartLog");
    }

    // What the log holds after its header, once stopped.
    QByteArray LogBody()
    {
        m_f->Click("StopLog");
        QFile file(m_dir.filePath("velorand.log"));
        const QByteArray rule = QByteArray(47, '-') + "\r\n";
        const QByteArray log = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return log.mid(log.indexOf(rule) + rule.size());
    }

    // Writes into the terminal whenever it has room, while the window's event loop reads it.
    void Stream(const QByteArray &data)
    {
        const int master = m_pty->MasterDescriptor();
        QEventLoop loop;
        QSocketNotifier room(master, QSocketNotifier::Write);
        qsizetype done = 0;
        connect(&room, &QSocketNotifier::activated, &loop, [&] {
            const ssize_t written = ::write(master, data.constData() + done, size_t(data.size() - done));
            done += std::max<ssize_t>(written, 0);
            if (done == data.size() || (written < 0 && errno != EAGAIN))
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(done, data.size());
    }
};

QTEST_MAIN(TstRxView)
#include "tst_rxview.moc"
