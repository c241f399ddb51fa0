#include "bytecolumn.h"
#include "dumprow.h"
#include "fixedclock.h"
#include "memolines.h"
#include "receivedisplay.h"
#include "rxlog.h"

#include <QTemporaryDir>
#include <QTest>

using TBlocks = QList<QByteArray>;

class TstReceiveDisplay : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_clock = TFixedClock();
        m_box = std::make_unique<TMemoLines>();
        m_dec = std::make_unique<TByteColumn>(TByteColumn::Dec);
        m_hex = std::make_unique<TByteColumn>(TByteColumn::Hex);
        m_bin = std::make_unique<TByteColumn>(TByteColumn::Bin);
        m_display = std::make_unique<TReceiveDisplay>(*m_box, *m_dec, *m_hex, *m_bin, m_clock);
    }

    void stringModeBuildsLines_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<TBlocks>("blocks");
        QTest::addColumn<bool>("time");
        QTest::addColumn<bool>("crIsLf");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("line and line in progress") << QByteArray() << TBlocks{"ab\r"} << false << false
                                                   << QByteArray("ab\r\n\r\n");
        QTest::newRow("stamped line") << QByteArray() << TBlocks{"ab\r"} << true << false
                                      << QByteArray("14:05:09> ab\r\n\r\n");
        QTest::newRow("LF ignored") << QByteArray() << TBlocks{"ab\r\n"} << false << false
                                    << QByteArray("ab\r\n\r\n");
        QTest::newRow("LF ends a line with CR=LF") << QByteArray() << TBlocks{"ab\r\n"} << false << true
                                                   << QByteArray("ab\r\n\r\n\r\n");
        QTest::newRow("backspace") << QByteArray() << TBlocks{"abc\bd\r"} << false << false
                                   << QByteArray("abd\r\n\r\n");
        QTest::newRow("backspace on empty line") << QByteArray() << TBlocks{"\bx\r"} << false << false
                                                 << QByteArray("x\r\n\r\n");
        QTest::newRow("backspace stays in its line") << QByteArray() << TBlocks{"ab\r\b\bc"} << false << false
                                                     << QByteArray("ab\r\nc\r\n");
        QTest::newRow("line over two calls") << QByteArray() << TBlocks{"ab", "c\r"} << false << false
                                             << QByteArray("abc\r\n\r\n");
        QTest::newRow("line in progress read back") << QByteArray("old\r\npart\r\n") << TBlocks{"ial\r"}
                                                    << false << false << QByteArray("old\r\npartial\r\n\r\n");
        QTest::newRow("NUL hides the rest of the line") << QByteArray() << TBlocks{QByteArray("ab\0cd\rxy", 8)}
                                                        << false << false << QByteArray("ab\r\nxy\r\n");
        QTest::newRow("backspace removes a NUL") << QByteArray() << TBlocks{QByteArray("a\0\bb\r", 5)}
                                                 << false << false << QByteArray("ab\r\n\r\n");
        QTest::newRow("control characters shown") << QByteArray() << TBlocks{"a\x01\tb"} << false << false
                                                  << QByteArray("a\x01\tb\r\n");
        QTest::newRow("only an empty line end") << QByteArray() << TBlocks{"\r"} << true << false
                                                << QByteArray("14:05:09> \r\n\r\n");
    }

    void stringModeBuildsLines()
    {
        QFETCH(QByteArray, start);
        QFETCH(TBlocks, blocks);
        QFETCH(bool, time);
        QFETCH(bool, crIsLf);
        QFETCH(QByteArray, text);
        m_box->SetText(start);
        TReceiveOptions options;
        options.TimeStamps = time;
        options.CrIsLf = crIsLf;
        Receive(blocks, options);
        QCOMPARE(m_box->Text(), text);
    }

    // Each read comes a second later than the one before: the stamp shows when the line began.
    void lineOverSeveralReadsIsStampedOnce_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<TBlocks>("blocks");
        QTest::addColumn<QByteArray>("text");

        const QByteArray line = "temperature=21.5\r";
        const QByteArray stamped = "14:05:01> temperature=21.5\r\n\r\n";
        for (qsizetype size = line.size(); size >= 1; size = size > 4 ? size / 2 : size - 1) {
            TBlocks blocks;
            for (qsizetype at = 0; at < line.size(); at += size)
                blocks << line.mid(at, size);
            QTest::addRow("%d reads", int(blocks.size())) << QByteArray() << blocks << stamped;
        }
        QTest::newRow("line end alone in the next read") << QByteArray() << TBlocks{"ab", "\r"}
                                                         << QByteArray("14:05:01> ab\r\n\r\n");
        QTest::newRow("lines begin within reads") << QByteArray() << TBlocks{"ab\rcd", "e\rf", "\r"}
                                                  << QByteArray("14:05:01> ab\r\n14:05:01> cde\r\n"
                                                                "14:05:02> f\r\n\r\n");
        QTest::newRow("after an empty line in progress") << QByteArray("old\r\n\r\n") << TBlocks{"x", "y\r"}
                                                         << QByteArray("old\r\n14:05:01> xy\r\n\r\n");
        QTest::newRow("backspaces keep the stamp") << QByteArray() << TBlocks{"abc", "\b\bd\r"}
                                                   << QByteArray("14:05:01> ad\r\n\r\n");
    }

    void lineOverSeveralReadsIsStampedOnce()
    {
        QFETCH(QByteArray, start);
        QFETCH(TBlocks, blocks);
        QFETCH(QByteArray, text);
        m_box->SetText(start);
        TReceiveOptions options;
        options.TimeStamps = true;
        for (int read = 0; read < blocks.size(); ++read) {
            m_clock.Time = "14:05:0" + QByteArray::number(read % 9 + 1);
            Receive({blocks[read]}, options);
        }
        QCOMPARE(m_box->Text(), text);
    }

    // Time is read at each write-back; it is the first write-back of a line that decides.
    void timeBoxAppliesToLinesBegunWhileItIsOn()
    {
        TReceiveOptions options;
        Receive({"hello"}, options);
        options.TimeStamps = true;
        Receive({" world\rnext"}, options);
        QCOMPARE(m_box->Text(), QByteArray("hello world\r\n14:05:09> next\r\n"));
        options.TimeStamps = false;
        Receive({"\r"}, options);
        QCOMPARE(m_box->Get(1), QByteArray("14:05:09> next"));
        QCOMPARE(m_box->Count(), 3);
    }

    void backspaceOnlyCallLeavesTheBoxAlone()
    {
        TReceiveOptions options;
        options.TimeStamps = true;
        Receive({"ab"}, options);
        const QByteArray before = m_box->Text();
        const int reads = m_clock.TimeReads;
        Receive({QByteArray(40, '\b')}, options);
        QCOMPARE(m_box->Text(), before);
        QCOMPARE(m_clock.TimeReads, reads);
        Receive({"\r"}, options);
        QCOMPARE(m_box->Get(0), QByteArray("14:05:09> ab"));
    }

    // The line in progress lives in the box alone: what happens to the box between calls counts.
    void lineInProgressIsReadFromTheBoxEachCall()
    {
        Receive({"ab"}, TReceiveOptions());
        m_display->ClearAll();
        Receive({"c\r"}, TReceiveOptions());
        QCOMPARE(m_box->Text(), QByteArray("c\r\n\r\n"));
        m_box->Put(0, "xy");
        Receive({"z\r"}, TReceiveOptions());
        QCOMPARE(m_box->Text(), QByteArray("xy\r\nz\r\n\r\n"));
    }

    // However many lines a block holds, the view hears of it once, from the first row it changed.
    void blockGivesOneChangeNotice()
    {
        m_box->SetText("old\r\npart\r\n");
        QList<int> firstRows;
        m_box->OnChanged = [&](int row) { firstRows << row; };
        TReceiveOptions options;
        options.TimeStamps = true;
        Receive({"ial\rb\rc", "\r\rd"}, options);
        QCOMPARE(firstRows, (QList<int>{1, 3}));
        QCOMPARE(m_box->Count(), 6);
    }

    void boxOverFiveHundredLinesIsClearedFirst_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("500 lines kept") << 500 << false;
        QTest::newRow("501 lines cleared") << 501 << true;
    }

    void boxOverFiveHundredLinesIsClearedFirst()
    {
        QFETCH(int, lines);
        QFETCH(bool, cleared);
        QByteArray start;
        for (int line = 1; line < lines; ++line)
            start += "line\r\n";
        start += "tail\r\n";
        m_box->SetText(start);
        QCOMPARE(m_box->Count(), lines);
        Receive({"X\rY"}, TReceiveOptions());
        if (cleared) {
            QCOMPARE(m_box->Text(), QByteArray("X\r\nY\r\n"));
        } else {
            QCOMPARE(m_box->Count(), lines + 1);
            QCOMPARE(m_box->Get(lines - 1), QByteArray("tailX"));
        }
    }

    void wrapRowsCountTowardsTheLimit()
    {
        TCharWidths widths;
        widths.fill(1);
        m_box->SetWrap(10, widths);
        TReceiveOptions options;
        options.TimeStamps = true;
        Receive({"abcdefghijklmn"}, options);
        QCOMPARE(m_box->Count(), 3);
        QCOMPARE(m_box->Get(2), QByteArray("klmn"));
        m_clock.Time = "14:05:10";
        Receive({"o\r"}, options);
        // Only the last wrap row was read back, and it goes on without a stamp of its own.
        QCOMPARE(m_box->Text(), QByteArray("14:05:09> abcdefghijklmno\r\n\r\n"));

        m_box->SetText(QByteArray(5010, 'x'));
        QCOMPARE(m_box->Count(), 501);
        Receive({"y"}, TReceiveOptions());
        QCOMPARE(m_box->Text(), QByteArray("y\r\n"));
    }

    void hexModeAppendsValuesAndColumns()
    {
        m_box->SetText("ab\r\n");
        TReceiveOptions options;
        options.HexMode = true;
        options.DecColumn = options.HexColumn = options.BinColumn = true;
        Receive({QByteArray("A\r\n\0", 4)}, options);
        QCOMPARE(m_box->Text(), QByteArray("ab\r\n41 0D 0A 00 "));
        const QList<QByteArray> dec{"65", "13", "10", "0"};
        const QList<QByteArray> hex{"41", "0D", "0A", "00"};
        const QList<QByteArray> bin{"01000001", "00001101", "00001010", "00000000"};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(m_dec->RowText(row), dec[row]);
            QCOMPARE(m_hex->RowText(row), hex[row]);
            QCOMPARE(m_bin->RowText(row), bin[row]);
        }
        QCOMPARE(m_dec->RowCount(), 4);
    }

    void stringModeAfterHexContinuesTheHexRow()
    {
        TReceiveOptions hex;
        hex.HexMode = true;
        Receive({"AB"}, hex);
        Receive({"x\ry\rz"}, TReceiveOptions());
        // The first line end finds no final break: Add only appends one, so the second line end
        // writes to the same row again.
        QCOMPARE(m_box->Text(), QByteArray("y\r\nz\r\n"));
        init();
        Receive({"AB"}, hex);
        Receive({"x\r"}, TReceiveOptions());
        Receive({"y\r"}, TReceiveOptions());
        QCOMPARE(m_box->Text(), QByteArray("41 42 xy\r\n\r\n"));
    }

    void columnsFollowTheirCheckBoxes()
    {
        TReceiveOptions options;
        options.HexColumn = true;
        Receive({"ab"}, options);
        options.HexColumn = false;
        options.BinColumn = true;
        Receive({"c"}, options);
        QCOMPARE(m_dec->RowCount(), 0);
        QCOMPARE(m_hex->RowCount(), 2);
        QCOMPARE(m_bin->RowCount(), 1);
        QCOMPARE(m_bin->RowText(0), QByteArray("01100011"));
    }

    void columnDropsItsOldestQuarterAtTheCap()
    {
        TByteColumn column(TByteColumn::Dec);
        QByteArray block(1 << 20, 0);
        qsizetype fed = 0;
        const auto feed = [&](int size) {
            for (int i = 0; i < size; ++i)
                block[i] = char((fed + i) % 251);
            column.Append(block.constData(), size);
            fed += size;
        };
        while (fed < TByteColumn::kMaxRows)
            feed(int(block.size()));
        QCOMPARE(column.RowCount(), TByteColumn::kMaxRows);

        feed(1000);
        QCOMPARE(column.RowCount(), TByteColumn::kMaxRows / 4 * 3);
        const qsizetype dropped = fed - column.RowCount();
        QCOMPARE(column.RowText(0), QByteArray::number(dropped % 251));
        QCOMPARE(column.RowText(column.RowCount() - 1), QByteArray::number((fed - 1) % 251));
    }

    void counterCountsTheChosenCode()
    {
        QList<std::int32_t> shown;
        m_display->OnCountChanged = [&](std::int32_t count) { shown << count; };
        Receive({"a\r\nb\r\n"}, TReceiveOptions());
        QCOMPARE(m_display->CharCount(), 2);
        TReceiveOptions hex;
        hex.HexMode = true;
        Receive({"\rx"}, hex);
        Receive({"none"}, TReceiveOptions());
        QCOMPARE(shown, (QList<std::int32_t>{2, 3}));
        TReceiveOptions nul;
        nul.CountTarget = TReceiveDisplay::CountTargetFromText("abc");
        Receive({QByteArray("\0\0", 2)}, nul);
        QCOMPARE(m_display->CharCount(), 5);
        TReceiveOptions outside;
        outside.CountTarget = 300;
        Receive({QByteArray(1, char(300 & 0xFF))}, outside);
        QCOMPARE(m_display->CharCount(), 5);
    }

    void countTargetReadsTheSpinText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("target");
        QTest::newRow("number") << "13" << 13;
        QTest::newRow("blanks around") << " 7 " << 7;
        QTest::newRow("not a number") << "1a" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("typed past the range") << "300" << 300;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("too long for a number") << "99999999999" << 0;
    }

    void countTargetReadsTheSpinText()
    {
        QFETCH(QString, text);
        QFETCH(int, target);
        QCOMPARE(TReceiveDisplay::CountTargetFromText(text), target);
    }

    void clearEmptiesBoxAndColumnsButNotTheCounter()
    {
        TReceiveOptions options;
        options.DecColumn = options.HexColumn = options.BinColumn = true;
        Receive({"a\r\nb\r\n"}, options);
        m_display->ClearAll();
        QCOMPARE(m_box->Text(), QByteArray());
        QCOMPARE(m_dec->RowCount() + m_hex->RowCount() + m_bin->RowCount(), 0);
        QCOMPARE(m_display->CharCount(), 2);
        m_display->ResetCounter();
        QCOMPARE(m_display->CharCount(), 0);
    }

    void failedLogWriteEndsTheBlockAtThatByte_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("columnRows");
        QTest::addColumn<int>("count");
        // The header takes 97 of the 128 bytes, so the first write (and its failure) comes with the
        // 31st byte in String mode (20 a, CR as one byte, 10 a) and with the 11th value in HEX mode.
        QTest::newRow("string") << false << QByteArray("old") + QByteArray(20, 'a') + "\r\n\r\n" << 31 << 30;
        QTest::newRow("hex") << true << QByteArray("old\r\n") + QByteArray("61 ").repeated(11) << 11 << 11;
    }

    void failedLogWriteEndsTheBlockAtThatByte()
    {
        QFETCH(bool, hexMode);
        QFETCH(QByteArray, text);
        QFETCH(int, columnRows);
        QFETCH(int, count);
        TRxLog log(m_clock);
        log.Start("/dev/full");
        m_box->SetText("old\r\n");
        TReceiveOptions options;
        options.HexMode = hexMode;
        options.DecColumn = true;
        options.CountTarget = 'a';
        const QByteArray block = QByteArray(20, 'a') + "\r" + QByteArray(60, 'a') + "\r";
        try {
            Receive({block}, options, &log);
            QFAIL("a full disk must end the block");
        } catch (const TLogWriteError &error) {
            QCOMPARE(error.Message(), QString("Disk full"));
        }
        QCOMPARE(m_box->Text(), text);
        QCOMPARE(m_dec->RowCount(), columnRows);
        QCOMPARE(m_display->CharCount(), count);
        QVERIFY(log.IsOpen());
    }

    // Each block starts with its mode: S String, T String with Time, L String with CR=LF, H HEX;
    // M and D String with Time as hh:mm:ss.zzz and +N ms, K String keeping two lines, R dump rows.
    // The blocks come a second apart; a paused box shows them, after the pause, as the live box did.
    void pausedBoxShowsWhatWaitedAsIfNeverPaused_data()
    {
        QTest::addColumn<TBlocks>("blocks");
        TBlocks overLimit;
        for (int line = 0; line < 1200; ++line)
            overLimit << "Sline " + QByteArray::number(line) + "\r";
        QTest::newRow("lines over several blocks") << TBlocks{"Sab", "Sc\rd", "S\r"};
        QTest::newRow("stamps of arrival") << TBlocks{"Tab", "Tc\r", "Td\re\r", "Tf"};
        QTest::newRow("mode changes") << TBlocks{"Sab\r", "H\x01\x02", "Sc\r", "Ld\ne", "Hz"};
        QTest::newRow("NUL and backspace") << TBlocks{QByteArray("Sa\0b", 4), "S\bc\r", "S\b\b"};
        QTest::newRow("line limit at each block") << overLimit;
        QTest::newRow("additions") << TBlocks{"Dab", "Dc\r", "Dd\re\r", "Rxyz", "R0123456789abcdef", "Mf\r",
                                              "Kg\rh\ri\r", "Rz"};
    }

    void pausedBoxShowsWhatWaitedAsIfNeverPaused()
    {
        QFETCH(TBlocks, blocks);
        TMemoLines liveBox;
        TByteColumn dec(TByteColumn::Dec), hex(TByteColumn::Hex), bin(TByteColumn::Bin);
        TReceiveDisplay live(liveBox, dec, hex, bin, m_clock);
        m_box->SetText("before\r\n");
        liveBox.SetText("before\r\n");
        m_display->Pause();
        for (int i = 0; i < blocks.size(); ++i) {
            m_clock.Time = "14:05:" + QByteArray::number(10 + i % 50);
            m_clock.MsTime = m_clock.Time + ".042";
            m_clock.Ms = 1000 * i;
            const TReceiveOptions options = OptionsOf(blocks[i]);
            const QByteArray data = blocks[i].mid(1);
            live.Receive(data.constData(), int(data.size()), options, nullptr);
            m_display->Receive(data.constData(), int(data.size()), options, nullptr);
        }
        QCOMPARE(m_box->Text(), QByteArray("before\r\n"));
        QCOMPARE(m_dec->RowCount(), dec.RowCount());
        QCOMPARE(m_display->CharCount(), live.CharCount());
        m_clock.Time = "23:59:59";
        m_clock.MsTime = "23:59:59.999";
        m_clock.Ms = 999999;
        m_display->Resume();
        while (m_display->ShowWaiting(100)) {
        }
        QCOMPARE(m_box->Text(), liveBox.Text());
        QCOMPARE(m_display->Waiting().WaitingBytes(), 0);
    }

    // Once a block passes the limit, it and the rest of the pause are dropped; the box says how
    // many bytes, in their place.
    void pauseBeyondItsLimitSaysWhatWasDropped_data()
    {
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<QByteArray>("text");
        const QByteArray note = TReceiveDisplay::DroppedNote(1006);
        QTest::newRow("String") << false << 0 << "ab\r\ncd\r\n" + note + "\r\nxy\r\n";
        QTest::newRow("HEX") << true << 0 << "61 62 0D 63 64 0D \r\n" + note + "\r\n78 79 ";
        QTest::newRow("HEX, wrapped rows") << true << 10 << "61 62 0D 63 64 0D \r\n" + note + "\r\n78 79 ";
    }

    void pauseBeyondItsLimitSaysWhatWasDropped()
    {
        QFETCH(bool, hexMode);
        QFETCH(int, wrap);
        QFETCH(QByteArray, text);
        TCharWidths widths;
        widths.fill(1);
        m_box->SetWrap(wrap, widths);
        TReceiveOptions options;
        options.HexMode = hexMode;
        options.DecColumn = true;
        m_display->Waiting().SetLimit(1000);
        m_display->Pause();
        Receive({"ab\r", "cd\r", QByteArray(1000, 'z'), "zzzzz", "z"}, options);
        QCOMPARE(m_display->Waiting().WaitingBytes(), 6);
        QCOMPARE(m_display->Waiting().DroppedBytes(), 1006);
        QCOMPARE(m_dec->RowCount(), 1012);
        m_display->Resume();
        // What comes while the box catches up waits behind what is there.
        Receive({"xy"}, options);
        while (m_display->ShowWaiting(1 << 20)) {
        }
        QCOMPARE(m_box->Text(), text);
        Receive({"\r"}, options);
        m_display->Pause();
        Receive({"lost"}, options);
        m_display->ClearAll();
        QVERIFY(m_display->Waiting().IsEmpty());
    }

    // HEX mode's one long line counts its wrapped rows as lines.
    void keptLinesCountWrappedValues()
    {
        TCharWidths widths;
        widths.fill(1);
        m_box->SetWrap(9, widths);
        TReceiveOptions options;
        options.HexMode = true;
        options.KeptLines = 2;
        Receive({"ABCD", "EFG"}, options);
        QCOMPARE(m_box->Text(), QByteArray("44 45 46 47 "));
    }

    // An empty block stands for CLEAR. Rows start on a row of their own after other text; the
    // box's own size limit keeps the short row's values, a note or a change of mode does not.
    void hexDumpRowsFollowTheData_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<TBlocks>("blocks");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("after a run of values") << QByteArray("41 ") << TBlocks{"\x01"}
                                               << "41 \r\n" + DumpRow(0, "\x01");
        QTest::newRow("offsets from CLEAR") << QByteArray() << TBlocks{"abc", {}, "de", "f"} << DumpRow(0, "def");
        QTest::newRow("size limit") << QByteArray() << TBlocks{QByteArray(501 * 16 + 5, 'z'), "xy"}
                                    << DumpRow(501 * 16, "zzzzzxy");
    }

    void hexDumpRowsFollowTheData()
    {
        QFETCH(QByteArray, start);
        QFETCH(TBlocks, blocks);
        QFETCH(QByteArray, text);
        m_box->SetText(start);
        TReceiveOptions options;
        options.HexMode = true;
        options.HexRows = true;
        for (const QByteArray &block : blocks) {
            if (block.isEmpty())
                m_display->ClearAll();
            Receive({block}, options);
        }
        QCOMPARE(m_box->Text(), text);

        const qsizetype sinceClear = blocks.mid(blocks.lastIndexOf(QByteArray()) + 1).join().size();
        m_display->AddNote("gap");
        Receive({"t"}, options);
        QVERIFY2(m_box->Text().endsWith("gap\r\n" + DumpRow(sinceClear, "t")), m_box->Text().right(200));
        options.HexMode = false;
        Receive({"s"}, options);
        options.HexMode = true;
        Receive({"u"}, options);
        QVERIFY2(m_box->Text().endsWith("ts\r\n" + DumpRow(sinceClear + 2, "u")), m_box->Text().right(200));
    }

    // A line of the window's own between received lines, in its place also while paused.
    void noteStandsOnALineOfItsOwn_data()
    {
        QTest::addColumn<bool>("paused");
        QTest::newRow("shown") << false;
        QTest::newRow("paused") << true;
    }
    void noteStandsOnALineOfItsOwn()
    {
        QFETCH(bool, paused);
        if (paused)
            m_display->Pause();
        Receive({"ab\r", "c"}, TReceiveOptions());
        m_display->AddNote("--- note ---");
        Receive({"d\r"}, TReceiveOptions());
        m_display->AddNote("--- two ---");
        m_display->Resume();
        while (m_display->ShowWaiting(1 << 20)) {
        }
        QCOMPARE(m_box->Text(), QByteArray("ab\r\nc\r\n--- note ---\r\nd\r\n--- two ---\r\n\r\n"));
        QCOMPARE(m_display->Waiting().WaitingBytes(), 0);
    }

    void intToBinGivesEightDigits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1") << 1 << QByteArray("00000001");
        QTest::newRow("128") << 128 << QByteArray("10000000");
        QTest::newRow("255") << 255 << QByteArray("11111111");
        QTest::newRow("low byte of 256") << 256 << QByteArray("00000000");
    }

    void intToBinGivesEightDigits()
    {
        QFETCH(int, value);
        QFETCH(QByteArray, text);
        QCOMPARE(IntToBin(value), text);
    }

private:
    TFixedClock m_clock;
    std::unique_ptr<TMemoLines> m_box;
    std::unique_ptr<TByteColumn> m_dec, m_hex, m_bin;
    std::unique_ptr<TReceiveDisplay> m_display;

    static TReceiveOptions OptionsOf(const QByteArray &block)
    {
        TReceiveOptions options;
        options.HexMode = block.startsWith('H');
        options.TimeStamps = block.startsWith('T');
        options.CrIsLf = block.startsWith('L');
        options.TimeStamps = options.TimeStamps || block.startsWith('M') || block.startsWith('D');
        options.StampFormat = block.startsWith('M')   ? TStampFormat::Milliseconds
                              : block.startsWith('D') ? TStampFormat::Delta
                                                      : TStampFormat::Regional;
        options.KeptLines = block.startsWith('K') ? 2 : 0;
        options.HexRows = block.startsWith('R');
        options.HexMode = options.HexMode || options.HexRows;
        options.DecColumn = true;
        return options;
    }

    void Receive(const TBlocks &blocks, const TReceiveOptions &options, TRxLog *log = nullptr)
    {
        for (const QByteArray &block : blocks)
            m_display->Receive(block.constData(), int(block.size()), options, log);
    }
};

QTEST_GUILESS_MAIN(TstReceiveDisplay)
#include "tst_receivedisplay.moc"
