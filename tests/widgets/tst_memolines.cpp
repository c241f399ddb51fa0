#include "memolines.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

TCharWidths Uniform()
{
    TCharWidths widths;
    widths.fill(1);
    return widths;
}

// Rows as "text|" for a line break and "text~" for a wrap, to compare layouts at a glance.
QString Layout(const TMemoLines &lines)
{
    QStringList rows;
    for (int row = 0; row < lines.RowCount(); ++row)
        rows << QString::fromLatin1(lines.RowText(row)) + (lines.RowEndsLine(row) ? "|" : "~");
    return rows.join(' ');
}

// The text after Add (0), Put (1), Append (2), ReplaceEnd of row characters (3) or DropFirstRows
// of row rows (4), worked out on the rows as they are and the whole text instead of on the few
// rows that the edit touches.
QByteArray EditedText(const TMemoLines &lines, int operation, int row, QByteArray piece)
{
    const qsizetype nul = piece.indexOf('\0');
    if (nul >= 0)
        piece.truncate(nul);
    const QByteArray text = lines.Text();
    if (operation == 0)
        return text.isEmpty() || text.endsWith("\r\n") ? text + piece + "\r\n" : text + "\r\n" + piece;
    if (operation == 2)
        return text + piece;
    if (operation == 3) {
        const qsizetype lastBreak = text.lastIndexOf("\r\n");
        const qsizetype lastLine = text.size() - (lastBreak < 0 ? 0 : lastBreak + 2);
        return text.chopped(std::min<qsizetype>(row, lastLine)) + piece;
    }
    if (operation != 4 && row >= lines.RowCount())
        return text;
    QByteArray edited;
    for (int index = operation == 4 ? std::min(row, lines.RowCount() - 1) : 0; index < lines.RowCount(); ++index) {
        edited += index == row && operation == 1 ? piece : lines.RowText(index);
        if (lines.RowEndsLine(index))
            edited += "\r\n";
    }
    return edited;
}

} // namespace

class TstMemoLines : public QObject
{
    Q_OBJECT
private slots:
    void countFollowsTheBoxRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("one line without break") << QByteArray("ab") << 1;
        QTest::newRow("one line with break") << QByteArray("ab\r\n") << 1;
        QTest::newRow("line and empty line") << QByteArray("ab\r\n\r\n") << 2;
        QTest::newRow("only a break") << QByteArray("\r\n") << 1;
        QTest::newRow("lone CR and LF are characters") << QByteArray("a\rb\nc") << 1;
        QTest::newRow("CR before the break") << QByteArray("a\r\r\nb") << 2;
    }

    void countFollowsTheBoxRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        TMemoLines lines;
        lines.SetText(text);
        QCOMPARE(lines.Count(), count);
        QCOMPARE(lines.Text(), text);
    }

    void addPutAndGetMatchTheBox_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("add to empty") << QByteArray() << "add" << 0 << QByteArray("ab") << QByteArray("ab\r\n");
        QTest::newRow("add empty to empty") << QByteArray() << "add" << 0 << QByteArray() << QByteArray("\r\n");
        QTest::newRow("add after break") << QByteArray("ab\r\n") << "add" << 0 << QByteArray("cd")
                                         << QByteArray("ab\r\ncd\r\n");
        QTest::newRow("add without final break") << QByteArray("ab") << "add" << 0 << QByteArray("cd")
                                                 << QByteArray("ab\r\ncd");
        QTest::newRow("add empty without final break") << QByteArray("ab") << "add" << 0 << QByteArray()
                                                       << QByteArray("ab\r\n");
        QTest::newRow("put keeps the break") << QByteArray("ab\r\ncd\r\n") << "put" << 0 << QByteArray("xyz")
                                             << QByteArray("xyz\r\ncd\r\n");
        QTest::newRow("put last line") << QByteArray("ab\r\ncd") << "put" << 1 << QByteArray("x")
                                       << QByteArray("ab\r\nx");
        QTest::newRow("put on the empty last row") << QByteArray("ab\r\n") << "put" << 1 << QByteArray("x")
                                                   << QByteArray("ab\r\nx");
        QTest::newRow("put with a break splits") << QByteArray("ab\r\ncd") << "put" << 0 << QByteArray("1\r\n2")
                                                 << QByteArray("1\r\n2\r\ncd");
        QTest::newRow("put CR joins the next LF") << QByteArray("ab\r\n") << "put" << 0 << QByteArray("x\r")
                                                  << QByteArray("x\r\r\n");
        QTest::newRow("append without break") << QByteArray("ab\r\n") << "append" << 0 << QByteArray("41 ")
                                              << QByteArray("ab\r\n41 ");
        QTest::newRow("append completes a break") << QByteArray("ab\r") << "append" << 0 << QByteArray("\ncd")
                                                  << QByteArray("ab\r\ncd");
    }

    void addPutAndGetMatchTheBox()
    {
        QFETCH(QByteArray, start);
        QFETCH(QString, operation);
        QFETCH(int, row);
        QFETCH(QByteArray, argument);
        QFETCH(QByteArray, text);
        TMemoLines lines;
        lines.SetText(start);
        if (operation == "add")
            lines.Add(argument);
        else if (operation == "put")
            lines.Put(row, argument);
        else
            lines.Append(argument);
        QCOMPARE(lines.Text(), text);
        TMemoLines fresh;
        fresh.SetText(text);
        QCOMPARE(Layout(lines), Layout(fresh));
        QCOMPARE(lines.Count(), fresh.Count());
    }

    void writtenTextIsCutAtNul()
    {
        TMemoLines lines;
        lines.Add(QByteArray("ab\0cd", 5));
        lines.Put(0, QByteArray("x\0y", 3));
        lines.Append(QByteArray("1\0002", 3));
        QCOMPARE(lines.Text(), QByteArray("x\r\n1"));
        lines.SetText(QByteArray("q\0r", 3));
        QCOMPARE(lines.Text(), QByteArray("q"));
    }

    void outOfRangeRowsReadEmptyAndIgnorePut()
    {
        TMemoLines lines;
        lines.SetText("ab\r\ncd");
        QCOMPARE(lines.Get(-1), QByteArray());
        QCOMPARE(lines.Get(2), QByteArray());
        lines.Put(-1, "x");
        lines.Put(2, "x");
        QCOMPARE(lines.Text(), QByteArray("ab\r\ncd"));
    }

    void narrowBoxMakesWrapRowsLines_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("layout");
        QTest::newRow("cut inside a word") << 4 << QByteArray("abcdefghij") << "abcd~ efgh~ ij~";
        QTest::newRow("break after a blank") << 6 << QByteArray("ab cdefg") << "ab ~ cdefg~";
        QTest::newRow("blank hangs at the edge") << 5 << QByteArray("41 0D 0A ") << "41 0D ~ 0A ~";
        QTest::newRow("hex values stay whole") << 7 << QByteArray("41 0D 0A 42 ") << "41 0D ~ 0A 42 ~";
        QTest::newRow("line breaks kept") << 3 << QByteArray("abcd\r\nef\r\n") << "abc~ d| ef| ~";
        QTest::newRow("no wrapping") << 0 << QByteArray("abcdefghij") << "abcdefghij~";
    }

    void narrowBoxMakesWrapRowsLines()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, text);
        QFETCH(QString, layout);
        TMemoLines lines;
        lines.SetWrap(width, Uniform());
        lines.SetText(text);
        QCOMPARE(Layout(lines), layout);
        QCOMPARE(lines.Text(), text);
        QCOMPARE(lines.Count(), lines.RowCount() - (lines.RowText(lines.RowCount() - 1).isEmpty() ? 1 : 0));
    }

    void putOnWrapRowReflowsTheLine()
    {
        TMemoLines lines;
        lines.SetWrap(4, Uniform());
        lines.SetText("abcdefghij\r\n");
        QCOMPARE(lines.Count(), 3);
        QCOMPARE(lines.Get(lines.Count() - 1), QByteArray("ij"));
        lines.Put(2, "12345");
        QCOMPARE(Layout(lines), QString("abcd~ efgh~ 1234~ 5| ~"));
        lines.Put(1, "");
        QCOMPARE(Layout(lines), QString("abcd~ 1234~ 5| ~"));
        QCOMPARE(lines.Text(), QByteArray("abcd12345\r\n"));
        // Emptying the row after a blank hanging at the edge leaves no empty row behind.
        lines.SetText("abcd ef\r\nx");
        lines.Put(1, "");
        QCOMPARE(Layout(lines), QString("abcd | x~"));
        QCOMPARE(lines.Count(), 2);
    }

    void resizingRewrapsKeepingText()
    {
        TMemoLines lines;
        lines.SetText("abcdefghij\r\nkl");
        QCOMPARE(lines.Count(), 2);
        lines.SetWrap(3, Uniform());
        QCOMPARE(lines.Count(), 5);
        lines.SetWrap(0, Uniform());
        QCOMPARE(lines.Count(), 2);
        QCOMPARE(lines.Text(), QByteArray("abcdefghij\r\nkl"));
    }

    // Edits re-wrap and rewrite only near the row they touch; the text worked out on the whole
    // text must agree, and a box built from it in one go must lay out identically, with every kind
    // of edit, with proportional widths and with the equal widths of a fixed font.

    void incrementalEditsLayOutLikeAFreshBox_data()
    {
        QTest::addColumn<int>("widthCycle");
        QTest::newRow("proportional") << 3;
        QTest::newRow("fixed") << 1;
    }

    void incrementalEditsLayOutLikeAFreshBox()
    {
        QFETCH(int, widthCycle);
        TCharWidths widths;
        for (int value = 0; value < 256; ++value)
            widths[value] = std::uint16_t(1 + value % widthCycle);
        QRandomGenerator generator(20261207);
        auto *random = &generator;
        const QByteArray alphabet("ab c\r\nde  f\0\b", 13);
        for (int round = 0; round < 200; ++round) {
            const int width = 5 + int(random->bounded(12));
            TMemoLines lines;
            lines.SetWrap(width, widths);
            for (int step = 0; step < 60; ++step) {
                QByteArray piece;
                for (int n = int(random->bounded(9)); n > 0; --n)
                    piece += alphabet[random->bounded(int(alphabet.size()))];
                const int operation = int(random->bounded(5));
                const int row = int(random->bounded(lines.RowCount() + 1));
                const QByteArray expected = EditedText(lines, operation, row, piece);
                switch (operation) {
                case 0: lines.Add(piece); break;
                case 1: lines.Put(row, piece); break;
                case 3: lines.ReplaceEnd(row, piece); break;
                case 4: lines.DropFirstRows(row); break;
                default: lines.Append(piece); break;
                }
                QCOMPARE(lines.Text(), expected);
                TMemoLines fresh;
                fresh.SetWrap(width, widths);
                fresh.SetText(expected);
                QCOMPARE(Layout(lines), Layout(fresh));
                QCOMPARE(lines.Count(), fresh.Count());
            }
        }
    }

    // The view repaints from the first changed row on, so an edit must never report a later row.

    void changesAreAnnounced()
    {
        TMemoLines lines;
        lines.SetText("one\r\ntwo\r\nthree");
        QList<int> firstRows;
        lines.OnChanged = [&](int row) { firstRows << row; };
        lines.Add("four");
        lines.Put(1, "2");
        lines.Append("!");
        lines.Clear();
        lines.SetText("x");
        QCOMPARE(firstRows, (QList<int>{2, 1, 3, 0, 0}));
    }

    // Dropped rows take a waiting notice's row along; the bytes they held are let go in bulk.
    void droppingRowsKeepsTheRestAndTheirNotices()
    {
        TMemoLines lines;
        QByteArray text;
        for (int n = 0; n < 20000; ++n)
            text += "line " + QByteArray::number(n) + "\r\n";
        lines.SetText(text);
        QList<int> dropped;
        QList<int> firstRows;
        lines.OnDropped = [&](int count) { dropped << count; };
        lines.OnChanged = [&](int row) { firstRows << row; };
        lines.BeginUpdate();
        lines.Put(19999, "last");
        lines.DropFirstRows(19900);
        lines.EndUpdate();
        QCOMPARE(dropped, QList<int>{19900});
        QCOMPARE(firstRows, QList<int>{99});
        QCOMPARE(lines.Text(), text.mid(text.indexOf("line 19900")).replace("line 19999", "last"));
        lines.DropFirstRows(1000);
        QCOMPARE(lines.Text(), QByteArray());
    }

    void updateHoldsNoticesUntilItsOutermostEnd()
    {
        TMemoLines lines;
        lines.SetText("one\r\ntwo\r\nthree");
        QList<int> firstRows;
        lines.OnChanged = [&](int row) { firstRows << row; };
        lines.BeginUpdate();
        lines.Add("four");
        lines.BeginUpdate();
        lines.Put(1, "2");
        lines.EndUpdate();
        lines.Append("!");
        QVERIFY(firstRows.isEmpty());
        lines.EndUpdate();
        lines.BeginUpdate();
        lines.EndUpdate();
        lines.Add("five");
        QCOMPARE(firstRows, (QList<int>{1, 3}));
    }

};

QTEST_GUILESS_MAIN(TstMemoLines)
#include "tst_memolines.moc"
