#include "screwpanel.h"

#include <QtTest>

class TstScrewPanel : public QObject
{
    Q_OBJECT
private slots:
    void highlightAndShadowFollowTheColour_data()
    {
        QTest::addColumn<uint>("color");
        QTest::addColumn<uint>("highlight");
        QTest::addColumn<uint>("shadow");
        // 00BBGGRR
        QTest::newRow("usual grey") << 0xC0C0C0u << 0xFFFFFFu << 0x606060u;
        QTest::newRow("black") << 0x000000u << 0x000000u << 0x000000u;
        QTest::newRow("white") << 0xFFFFFFu << 0xFFFFFFu << 0x808080u;
        // red 200 -> 300: 45 spills into green (100 -> 195) and into blue (0 -> 45)
        QTest::newRow("red spills into green and blue") << 0x0064C8u << 0x2DC3FFu << 0x003264u;
        // blue 240 -> 360 with no green overflow: 105 goes to red (10 -> 120)
        QTest::newRow("blue spills into red") << 0xF0000Au << 0xFF0078u << 0x780005u;
        // green 220 -> 330: 75 goes to red (20 -> 105) and on to blue (30 -> 120)
        QTest::newRow("green spills into red and blue") << 0x1EDC14u << 0x78FF69u << 0x0F6E0Au;
        // odd values truncate towards zero: 101 -> 151 / 51
        QTest::newRow("odd channel") << 0x000065u << 0x000097u << 0x000033u;
    }

    void highlightAndShadowFollowTheColour()
    {
        QFETCH(uint, color);
        QFETCH(uint, highlight);
        QFETCH(uint, shadow);
        TScrewPanel panel;
        panel.SetColor(color);
        QCOMPARE(QString::number(panel.HighlightColor(), 16), QString::number(highlight, 16));
        QCOMPARE(QString::number(panel.ShadowColor(), 16), QString::number(shadow, 16));
    }

    void guardedWritesAreIgnored_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        // Defaults: Margin 2, ScrewSize 2, 45 by 45.
        QTest::newRow("screw below both sides") << QSize(45, 45) << QByteArray("ScrewSize") << 44 << 44;
        QTest::newRow("screw as wide as the panel") << QSize(45, 45) << QByteArray("ScrewSize") << 45 << 2;
        QTest::newRow("screw as high as the panel") << QSize(100, 20) << QByteArray("ScrewSize") << 20 << 2;
        QTest::newRow("margin fits") << QSize(45, 45) << QByteArray("Margin") << 42 << 42;
        QTest::newRow("margin too wide") << QSize(45, 45) << QByteArray("Margin") << 43 << 2;
        QTest::newRow("margin too high") << QSize(100, 10) << QByteArray("Margin") << 8 << 2;
    }

    void guardedWritesAreIgnored()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, property);
        QFETCH(int, value);
        QFETCH(int, expected);
        TScrewPanel panel;
        panel.resize(size);
        panel.setProperty(property.constData(), value);
        QCOMPARE(panel.property(property.constData()).toInt(), expected);
    }

    void paintsScrewsInTheCorners()
    {
        TScrewPanel panel;
        panel.resize(260, 232);
        panel.SetColor(0xC0C0C0);
        panel.SetBevelOuter(TScrewPanel::bvLowered);
        panel.SetScrewSize(4);
        const QImage image = panel.grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(0x60, 0x60, 0x60));        // lowered: shadow top left
        QCOMPARE(image.pixelColor(259, 231), QColor(0xFF, 0xFF, 0xFF));    // highlight bottom right
        QCOMPARE(image.pixelColor(130, 116), QColor(0xC0, 0xC0, 0xC0));    // face
        // Each head is 16 across, 2 in from the 1-pixel bevel; its middle is silver or the slot.
        for (const QPoint centre : {QPoint(11, 11), QPoint(248, 11), QPoint(11, 220), QPoint(248, 220)}) {
            const QColor c = image.pixelColor(centre + QPoint(-3, -3));
            QCOMPARE(c, QColor(0xC0, 0xC0, 0xC0));
        }
        panel.SetShowScrews(false);
        QCOMPARE(panel.grab().toImage().pixelColor(11, 11), QColor(0xC0, 0xC0, 0xC0));
    }

};

QTEST_MAIN(TstScrewPanel)
#include "tst_screwpanel.moc"
