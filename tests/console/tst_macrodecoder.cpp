#include "macrodecoder.h"

#include <QTest>

class TstMacroDecoder : public QObject
{
    Q_OBJECT
private slots:
    void escapesDecode_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("decimal carriage return") << QByteArray("AT#013") << QByteArray("AT\r");
        QTest::newRow("hex both cases") << QByteArray("$0D$0a") << QByteArray("\r\n");
        QTest::newRow("doubled hash") << QByteArray("##013") << QByteArray("#013");
        QTest::newRow("doubled dollar") << QByteArray("$$0D") << QByteArray("$0D");
        QTest::newRow("decimal takes three positions") << QByteArray("#13") << QByteArray("\x82");
        QTest::newRow("decimal wraps at 256") << QByteArray("#999") << QByteArray("\xE7");
        QTest::newRow("256 is zero") << QByteArray("#256") << QByteArray(1, '\0');
        QTest::newRow("letter in decimal counts 0") << QByteArray("#1a3") << QByteArray("\x67");
        QTest::newRow("non-hex digit counts 0") << QByteArray("$G1") << QByteArray("\x01");
        QTest::newRow("hex cut short") << QByteArray("$D") << QByteArray("\xD0");
        QTest::newRow("hash alone") << QByteArray("#") << QByteArray(1, '\0');
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("zero inside") << QByteArray("A#000B") << QByteArray("A\0B", 3);
        QTest::newRow("hash consumes any three") << QByteArray("#ABCD") << QByteArray("\0D", 2);
        QTest::newRow("dollar consumes any two") << QByteArray("$xyz") << QByteArray("\0z", 2);
        QTest::newRow("hash before doubled dollar") << QByteArray("#$$1") << QByteArray("\x01");
        QTest::newRow("lone dollar at end") << QByteArray("ok$") << QByteArray("ok\0", 3);
        QTest::newRow("hash with one digit at end") << QByteArray("x#9") << QByteArray("x\x84");
        QTest::newRow("hash with two digits at end") << QByteArray("x#12") << QByteArray("x\x78");
        QTest::newRow("doubled hash at end") << QByteArray("x##") << QByteArray("x#");
        QTest::newRow("hex FF") << QByteArray("$ff$FF") << QByteArray("\xFF\xFF");
        QTest::newRow("high bytes pass through") << QByteArray("\xE9\xFF") << QByteArray("\xE9\xFF");
        QTest::newRow("plain text") << QByteArray("hello world") << QByteArray("hello world");
    }

    void escapesDecode()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(DecodeMacro(text), bytes);
    }

    void hexDigitValue_data()
    {
        QTest::addColumn<char>("character");
        QTest::addColumn<int>("value");

        QTest::newRow("0") << '0' << 0;
        QTest::newRow("9") << '9' << 9;
        QTest::newRow("A") << 'A' << 10;
        QTest::newRow("F") << 'F' << 15;
        QTest::newRow("a") << 'a' << 10;
        QTest::newRow("f") << 'f' << 15;
        QTest::newRow("G") << 'G' << 0;
        QTest::newRow("g") << 'g' << 0;
        QTest::newRow("blank") << ' ' << 0;
        QTest::newRow("before 0") << '/' << 0;
        QTest::newRow("after 9") << ':' << 0;
        QTest::newRow("before A") << '@' << 0;
        QTest::newRow("high byte") << '\xC1' << 0;
        QTest::newRow("zero byte") << '\0' << 0;
    }

    void hexDigitValue()
    {
        QFETCH(char, character);
        QFETCH(int, value);
        QCOMPARE(int(HexDigitValue(character)), value);
    }

};

QTEST_GUILESS_MAIN(TstMacroDecoder)
#include "tst_macrodecoder.moc"
