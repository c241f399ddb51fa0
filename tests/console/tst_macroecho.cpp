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
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("after");

        QTest::newRow("empty box") << "" << QByteArray("AT") << "AT\n";
        QTest::newRow("after a line break") << "typed\n" << QByteArray("AT") << "typed\nAT\n";
        QTest::newRow("after unfinished typing") << "typed" << QByteArray("AT") << "typed\nAT";
        QTest::newRow("empty echo in an empty box") << "" << QByteArray() << "\n";
        QTest::newRow("empty echo after typing") << "abc" << QByteArray() << "abc\n";
        QTest::newRow("trailing CR shows nothing") << "" << QByteArray("AT\r") << "AT\n";
        QTest::newRow("CR LF breaks the line") << "" << QByteArray("A\r\nB") << "A\nB\n";
        QTest::newRow("lone LF shows nothing") << "" << QByteArray("A\nB") << "AB\n";
        QTest::newRow("high bytes one for one") << "" << QByteArray("\xE9\xFF") << QString::fromLatin1("\xE9\xFF\n");
    }

    void echoBecomesALineOfItsOwn()
    {
        QFETCH(QString, before);
        QFETCH(QByteArray, line);
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
