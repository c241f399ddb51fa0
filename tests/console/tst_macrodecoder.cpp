#include "macrodecoder.h"
#include "macrosender.h"

#include <QTest>

class TstMacroDecoder : public QObject
{
    Q_OBJECT
private slots:
    // The bytes a macro text sends.
    void escapesDecode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("decimal carriage return") << QStringLiteral("AT#013") << QByteArray("AT\r");
        QTest::newRow("hex both cases") << QStringLiteral("$0D$0a") << QByteArray("\r\n");
        QTest::newRow("doubled hash") << QStringLiteral("##013") << QByteArray("#013");
        QTest::newRow("doubled dollar") << QStringLiteral("$$0D") << QByteArray("$0D");
        QTest::newRow("decimal takes three positions") << QStringLiteral("#13") << QByteArray("\x82");
        QTest::newRow("decimal wraps at 256") << QStringLiteral("#999") << QByteArray("\xE7");
        QTest::newRow("256 is zero") << QStringLiteral("#256") << QByteArray(1, '\0');
        QTest::newRow("letter in decimal counts 0") << QStringLiteral("#1a3") << QByteArray("\x67");
        QTest::newRow("non-hex digit counts 0") << QStringLiteral("$G1") << QByteArray("\x01");
        QTest::newRow("hex cut short") << QStringLiteral("$D") << QByteArray("\xD0");
        QTest::newRow("hash alone") << QStringLiteral("#") << QByteArray(1, '\0');
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("zero inside") << QStringLiteral("A#000B") << QByteArray("A\0B", 3);
        QTest::newRow("hash consumes any three") << QStringLiteral("#ABCD") << QByteArray("\0D", 2);
        QTest::newRow("dollar consumes any two") << QStringLiteral("$xyz") << QByteArray("\0z", 2);
        QTest::newRow("hash before doubled dollar") << QStringLiteral("#$$1") << QByteArray("\x01");
        QTest::newRow("lone dollar at end") << QStringLiteral("ok$") << QByteArray("ok\0", 3);
        QTest::newRow("hash with one digit at end") << QStringLiteral("x#9") << QByteArray("x\x84");
        QTest::newRow("hash with two digits at end") << QStringLiteral("x#12") << QByteArray("x\x78");
        QTest::newRow("doubled hash at end") << QStringLiteral("x##") << QByteArray("x#");
        QTest::newRow("hex FF") << QStringLiteral("$ff$FF") << QByteArray("\xFF\xFF");
        QTest::newRow("high bytes pass through") << QString::fromLatin1("\xE9\xFF") << QByteArray("\xE9\xFF");
        QTest::newRow("plain text") << QStringLiteral("hello world") << QByteArray("hello world");
        QTest::newRow("beyond U+00FF in UTF-8") << QStringLiteral("1€") << QByteArray("1\xE2\x82\xAC");
        QTest::newRow("beyond the 16-bit range") << QStringLiteral("😀") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("escapes next to UTF-8") << QStringLiteral("€#013$E9") << QByteArray("\xE2\x82\xAC\r\xE9");
        QTest::newRow("escapes stay raw bytes") << QStringLiteral("$E2$82$AC") << QByteArray("\xE2\x82\xAC");
        // An escape counts characters, never the bytes they go out as.
        QTest::newRow("wide character in a decimal escape") << QStringLiteral("#1€3x") << QByteArray("gx");
        QTest::newRow("wide character in a hex escape") << QStringLiteral("$😀1x") << QByteArray("\x01x");
    }

    void escapesDecode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(MacroBytes(DecodeMacro(text)), bytes);
    }

    void hexDigitValue_data()
    {
        QTest::addColumn<char32_t>("character");
        QTest::addColumn<int>("value");

        QTest::newRow("0") << U'0' << 0;
        QTest::newRow("9") << U'9' << 9;
        QTest::newRow("A") << U'A' << 10;
        QTest::newRow("F") << U'F' << 15;
        QTest::newRow("a") << U'a' << 10;
        QTest::newRow("f") << U'f' << 15;
        QTest::newRow("G") << U'G' << 0;
        QTest::newRow("g") << U'g' << 0;
        QTest::newRow("blank") << U' ' << 0;
        QTest::newRow("before 0") << U'/' << 0;
        QTest::newRow("after 9") << U':' << 0;
        QTest::newRow("before A") << U'@' << 0;
        QTest::newRow("high byte") << U'\xC1' << 0;
        QTest::newRow("digit of another script") << U'\u0661' << 0;
        QTest::newRow("zero byte") << U'\0' << 0;
    }

    void hexDigitValue()
    {
        QFETCH(char32_t, character);
        QFETCH(int, value);
        QCOMPARE(int(HexDigitValue(character)), value);
    }

};

QTEST_GUILESS_MAIN(TstMacroDecoder)
#include "tst_macrodecoder.moc"
