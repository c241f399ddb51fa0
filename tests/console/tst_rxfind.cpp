#include "memolines.h"
#include "rxfind.h"

#include <QTest>

class TstRxFind : public QObject
{
    Q_OBJECT
private slots:
    void findsMatchesLineByLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width"); // characters a row; 0 for no wrapping
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("hexMode");
        QTest::addColumn<QStringList>("matches"); // "row:col-row:col"

        QTest::newRow("across a wrap") << QByteArray("abcdef\r\n") << 4 << "cde" << false << false
                                       << QStringList{"0:2-1:1"};
        QTest::newRow("never across a line break") << QByteArray("abc\r\ndef\r\n") << 0 << "cd" << false
                                                   << false << QStringList{};
        QTest::newRow("either case") << QByteArray("Needle needle NEEDLE") << 0 << "needle" << false << false
                                     << QStringList{"0:0-0:6", "0:7-0:13", "0:14-0:20"};
        QTest::newRow("match case") << QByteArray("Needle needle NEEDLE") << 0 << "needle" << true << false
                                    << QStringList{"0:7-0:13"};
        QTest::newRow("Latin-1 letters") << QByteArray("\xC9t\xE9") << 0 << u8"\u00e9" << false << false
                                         << QStringList{"0:0-0:1", "0:2-0:3"};
        QTest::newRow("beyond Latin-1 is nowhere") << QByteArray("a?b") << 0 << u8"\u20ac" << false << false
                                                   << QStringList{};
        QTest::newRow("HEX run") << QByteArray("41 0D 0A 0D 0A ") << 0 << "0d0a" << false << true
                                 << QStringList{"0:3-0:8", "0:9-0:14"};
        QTest::newRow("HEX run across a wrap") << QByteArray("41 0D 0A ") << 6 << "0D 0A" << false << true
                                               << QStringList{"0:3-1:2"};
        QTest::newRow("HEX whole values only") << QByteArray("ab0D 0A 0D ") << 0 << "0D" << false << true
                                               << QStringList{"0:8-0:10"};
        QTest::newRow("HEX mode, not values") << QByteArray("41 0D 0A ") << 0 << "D 0" << false << true
                                              << QStringList{"0:4-0:7"};
        QTest::newRow("String mode takes values as text") << QByteArray("0d0a 0D 0A") << 0 << "0D 0A" << true
                                                          << false << QStringList{"0:5-0:10"};
    }

    void findsMatchesLineByLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QFETCH(QString, query);
        QFETCH(bool, matchCase);
        QFETCH(bool, hexMode);
        QFETCH(QStringList, matches);
        TMemoLines box;
        TCharWidths widths;
        widths.fill(1);
        box.SetWrap(width, widths);
        box.SetText(text);
        TRxFind find;
        find.SetQuery(query, matchCase, hexMode);
        find.Scan(box);
        QStringList found;
        for (int i = 0; i < find.Count(); ++i) {
            const TRxFind::TMatch &match = find.Match(i);
            found << QStringLiteral("%1:%2-%3:%4")
                         .arg(match.From.row)
                         .arg(match.From.col)
                         .arg(match.To.row)
                         .arg(match.To.col);
        }
        QCOMPARE(found, matches);
    }

    void currentMatchStaysWhileRowsArrive()
    {
        TMemoLines box;
        box.SetText("a x\r\nb x\r\n");
        TRxFind find;
        QCOMPARE(find.CountText(), QString());
        find.SetQuery("x", false, false);
        find.Scan(box);
        find.GoTo({1, 0});
        QCOMPARE(find.CountText(), QString("2 of 2"));
        box.Append("c x\r\n");
        find.Scan(box);
        QCOMPARE(find.CountText(), QString("2 of 3"));
        find.Next();
        find.Next();
        QCOMPARE(find.CountText(), QString("1 of 3"));
        find.Previous();
        QCOMPARE(find.CountText(), QString("3 of 3"));
        std::vector<TMemoView::TMark> marks;
        find.MarksIn(1, 3, marks);
        QCOMPARE(int(marks.size()), 2);
        QVERIFY(!marks[0].Current && marks[1].Current);
        box.Clear();
        find.Scan(box);
        QCOMPARE(find.CountText(), QString("No matches"));
        QCOMPARE(find.Current(), -1);
    }
};

QTEST_GUILESS_MAIN(TstRxFind)
#include "tst_rxfind.moc"
