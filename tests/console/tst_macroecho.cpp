#include "macroecho.h"

#include <QPlainTextEdit>
#include <QTest>

class TstMacroEcho : public QObject
{
    Q_OBJECT
private slots:
    void echoBecomesALineOfItsOwn_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("after");

        QTest::newRow("empty box") << "" << "AT" << "AT\n";
        QTest::newRow("after a line break") << "typed\n" << "AT" << "typed\nAT\n";
        QTest::newRow("after unfinished typing") << "typed" << "AT" << "typed\nAT";
        QTest::newRow("empty echo in an empty box") << "" << "" << "\n";
        QTest::newRow("empty echo after typing") << "abc" << "" << "abc\n";
        QTest::newRow("trailing CR shows nothing") << "" << "AT\r" << "AT\n";
        QTest::newRow("CR LF breaks the line") << "" << "A\r\nB" << "A\nB\n";
        QTest::newRow("lone LF shows nothing") << "" << "A\nB" << "AB\n";
        QTest::newRow("characters as they are") << "" << QString::fromLatin1("\xE9\xFF") + u'€'
                                                << QString::fromLatin1("\xE9\xFF") + u'€' + u'\n';
    }

    void echoBecomesALineOfItsOwn()
    {
        QFETCH(QString, before);
        QFETCH(QString, line);
        QFETCH(QString, after);

        QPlainTextEdit box;
        box.setPlainText(before);
        AppendMacroEcho(box, line);
        QCOMPARE(box.toPlainText(), after);
    }

    void typingGoesOnAfterTheEcho()
    {
        QPlainTextEdit box;
        box.setPlainText("first\nsecond");
        box.moveCursor(QTextCursor::Start);
        AppendMacroEcho(box, "AT");
        QTest::keyClicks(&box, "x");
        QCOMPARE(box.toPlainText(), "first\nsecond\nATx");
    }

};

QTEST_MAIN(TstMacroEcho)
#include "tst_macroecho.moc"
