#include "findbar.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "historycombobox.h"
#include "memoview.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// Find, save and pause of the receive box in the real window, fed through a pseudo-terminal.
class TstReceiveTools : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_pty = std::make_unique<TPseudoTerminal>();
        QVERIFY(m_pty->IsValid());
        m_f = std::make_unique<TMainFormFixture>();
        // Shown and active: the keys go to the window as a user's do.
        m_f->Form().resize(900, 640);
        m_f->Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&m_f->Form()));
        QVERIFY(m_f->ConnectCom1(*m_pty));
    }

    void cleanup()
    {
        m_f.reset();
        m_pty.reset();
    }

    void additionsOffLeaveTheBoxAsDesigned()
    {
        QMenu *menu = Box()->CreateContextMenu();
        QStringList items;
        for (QAction *action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        delete menu;
        QCOMPARE(items, (QStringList{"copy", "selectAll", "-", "RxFind", "RxSaveAs", "RxPause", "-", "TimeStampFormat",
                                     "ScrollBack", "HexDumpRows"}));
        QVERIFY(Bar()->isHidden());
        // The keys are the box's: in the transmit box they are bytes for the port.
        m_f->Control<QPlainTextEdit>("TxMemo")->setFocus();
        Key(Qt::Key_F, Qt::ControlModifier);
        Key(Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Bar()->isHidden());
        QVERIFY(!Action("RxPause")->isChecked());
        Send("a\r");
        QTRY_COMPARE(Box()->Lines().Text(), QByteArray("a\r\n\r\n"));
        QCOMPARE(m_f->Form().StatusText(), QString("Connected"));
    }

    void floodWhilePausedShowsEveryByteOnceInOrder_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::newRow("String") << false;
        QTest::newRow("HEX") << true;
    }

    // The counter, the columns and the log go on while the box waits.
    void floodWhilePausedShowsEveryByteOnceInOrder()
    {
        QFETCH(bool, hexMode);
        m_f->Control<QRadioButton>(hexMode ? "RxMemoHex" : "RxMemoStr")->setChecked(true);
        m_f->Control<QCheckBox>("CBoxDec")->setChecked(true);
        m_f->Dialogs.FileAnswers.push_back(m_dir.filePath("velorand.log"));
        m_f->Click("StartLog");
        Send("start\r");
        QTRY_VERIFY(!Box()->Lines().Text().isEmpty());
        const QByteArray before = Box()->Lines().Text();
        Box()->setFocus();
        Key(Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Action("RxPause")->isChecked());

        QByteArray flood;
        for (int line = 0; line < 400; ++line)
            flood += "line " + QByteArray::number(line).rightJustified(5, '0') + " abcdefg\r\n";
        Send(flood);
        const QString waiting = QStringLiteral("Connected   Paused \u2014 %1 bytes waiting").arg(flood.size());
        QTRY_COMPARE(m_f->Form().StatusText(), waiting);
        QCOMPARE(Box()->Lines().Text(), before);
        QCOMPARE(Box("Memo1")->Source().RowCount(), 6 + flood.size());
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString("401"));
        m_f->Click("StopLog");
        QFile logFile(m_dir.filePath("velorand.log"));
        QVERIFY(logFile.open(QIODevice::ReadOnly));
        const QByteArray log = logFile.readAll();
        QVERIFY(hexMode ? log.size() > 3 * flood.size() : log.contains(QByteArray(flood).replace('\r', '\x10')));

        Box()->setFocus();
        Key(Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!Action("RxPause")->isChecked());
        const QByteArray all = "start\r" + flood;
        const QByteArray shown = hexMode ? all.toHex(' ').toUpper() + ' '
                                         : QByteArray(all).replace("\r\n", "\r").replace('\r', "\r\n") + "\r\n";
        QTRY_COMPARE(Box()->Lines().Text(), shown);
        QCOMPARE(m_f->Form().StatusText(), QString("Connected"));
    }

    void findCountsScrollsAndFollowsNewRows_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("count");

        QByteArray wrapped = "ab";
        for (int i = 0; i < 50; ++i)
            wrapped += "needlex";
        QTest::newRow("across wrapped rows") << false << wrapped + "\r" << "NEEDLE" << false << 50;
        QTest::newRow("match case") << false << QByteArray("Needle needle\rNEEDLE\r") << "Needle" << true << 1;
        QTest::newRow("HEX byte run") << true << QByteArray("A\r\nB\r\nC\n\r") << "0d 0a" << false << 2;
    }

    void findCountsScrollsAndFollowsNewRows()
    {
        QFETCH(bool, hexMode);
        QFETCH(QByteArray, data);
        QFETCH(QString, query);
        QFETCH(bool, matchCase);
        QFETCH(int, count);
        m_f->Control<QRadioButton>(hexMode ? "RxMemoHex" : "RxMemoStr")->setChecked(true);
        QByteArray filler;
        for (int line = 0; line < 60; ++line)
            filler += "filler " + QByteArray::number(line) + "\r";
        Send(filler + data);
        QTRY_COMPARE(m_f->Control<QLabel>("LabCount0")->text(), QString::number(60 + data.count('\r')));
        Bar()->findChild<QCheckBox *>("FindMatchCase")->setChecked(matchCase);
        // A new query starts from the top row in sight.
        Box()->ShowRow(0);
        Box()->setFocus();
        Key(Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Bar()->isVisible());
        QVERIFY(Bar()->findChild<QLineEdit *>("FindText")->hasFocus());
        QTest::keyClicks(Bar()->findChild<QLineEdit *>("FindText"), query);
        QCOMPARE(CountText(), QStringLiteral("1 of %1").arg(count));
        const TRxFind &find = Bar()->Find();
        if (count == 50) {
            int across = 0;
            for (int i = 0; i < find.Count(); ++i)
                across += find.Match(i).From.row != find.Match(i).To.row ? 1 : 0;
            QVERIFY(across > 0);
        }
        Key(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(CountText(), QStringLiteral("%1 of %1").arg(count));
        QVERIFY(CurrentMatchInView());
        Key(Qt::Key_F3);
        QCOMPARE(CountText(), QStringLiteral("1 of %1").arg(count));

        // New rows are searched as they arrive; the current match stays, and stays in view.
        Send(data);
        QTRY_COMPARE(CountText(), QStringLiteral("1 of %1").arg(2 * count));
        QVERIFY(CurrentMatchInView());
        Key(Qt::Key_Escape);
        QVERIFY(Bar()->isHidden());
        QVERIFY(Box()->hasFocus());
    }

    // F3 is Find Next only in the find bar; elsewhere it stays the hot key of macro 3.
    void f3SendsMacroThreeOutsideTheFindBar()
    {
        m_f->Control<THistoryComboBox>("lbMacro3")->setEditText("m3");
        Box()->setFocus();
        Key(Qt::Key_F, Qt::ControlModifier);
        Key(Qt::Key_F3);
        Box()->setFocus();
        Key(Qt::Key_F3);
        QCOMPARE(m_pty->Read(2), QByteArray("m3"));
    }

    void saveWritesTheBoxByteForByte_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("saved");
        QByteArray high;
        for (int value = 0x80; value <= 0xFF; ++value)
            high += char(value);
        QTest::newRow("String, every high byte") << false << "\x01\t" + high + "\r\nend"
                                                 << "\x01\t" + high + "\r\nend\r\n";
        QTest::newRow("HEX") << true << QByteArray("A\r\n\xFF") << QByteArray("41 0D 0A FF ");
    }

    void saveWritesTheBoxByteForByte()
    {
        QFETCH(bool, hexMode);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, saved);
        m_f->Control<QRadioButton>(hexMode ? "RxMemoHex" : "RxMemoStr")->setChecked(true);
        Send(data);
        QTRY_COMPARE(Box()->Lines().Text(), saved);
        const QString path = m_dir.filePath("received.txt");
        m_f->Dialogs.FileAnswers.push_back(path);
        Action("RxSaveAs")->trigger();
        QCOMPARE(m_f->Dialogs.SaveRequests.size(), 1);
        QCOMPARE(m_f->Dialogs.SaveRequests[0].Title, QString("Save received text as"));
        QCOMPARE(m_f->Dialogs.SaveRequests[0].FileName, QString("received.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        QVERIFY(m_f->Dialogs.Errors.isEmpty());
    }

    void failedSaveShowsTheFileError_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing folder") << "missing/x.txt" << "Invalid filename.";
        QTest::newRow("a folder") << "." << "File access denied.";
        QTest::newRow("full disk") << "/dev/full" << "Disk full.";
    }

    void failedSaveShowsTheFileError()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        Send("text\r");
        QTRY_VERIFY(!Box()->Lines().Text().isEmpty());
        m_f->Dialogs.FileAnswers.push_back(path.startsWith('/') ? path : m_dir.filePath(path));
        Action("RxSaveAs")->trigger();
        QCOMPARE(m_f->Dialogs.Errors.size(), 1);
        QCOMPARE(m_f->Dialogs.Errors[0].Text, error);
    }

private:
    TMemoView *Box(const char *name = "RxMemo") const { return m_f->Control<TMemoView>(name); }
    TFindBar *Bar() const { return m_f->Control<TFindBar>("FindBar"); }
    QAction *Action(const char *name) const { return m_f->Control<QAction>(name); }
    QString CountText() const { return Bar()->findChild<QLabel *>("FindCount")->text(); }
    bool CurrentMatchInView() const
    {
        const TRxFind &find = Bar()->Find();
        const int row = find.Match(find.Current()).From.row;
        return row >= Box()->TopRow() && row < Box()->TopRow() + Box()->VisibleRows();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(m_f->Form().windowHandle(), key, modifiers);
    }

    void Send(const QByteArray &data) { QVERIFY(m_pty->Write(data)); }

    std::unique_ptr<TMainFormFixture> m_f;
    std::unique_ptr<TPseudoTerminal> m_pty;
    QTemporaryDir m_dir;
};

QTEST_MAIN(TstReceiveTools)
#include "tst_receivetools.moc"
