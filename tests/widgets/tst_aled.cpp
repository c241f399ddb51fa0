#include "aled.h"
#include "floodfill.h"
#include "nothinghappens.h"
#include "paintcounter.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr QRgb kLime = 0xFF00FF00;
constexpr QRgb kSilver = 0xFFC0C0C0;

const char *ResourceOf(TALed::TLEDStyle style)
{
    static const char *const names[] = {":/leds/ALEDSM", ":/leds/ALEDLG", ":/leds/ALEDSQSM",
                                        ":/leds/ALEDSQLG", ":/leds/ALEDVT", ":/leds/ALEDHZ"};
    return names[style];
}

QImage DrawnLamp(TALed::TLEDStyle style)
{
    return QImage(QString::fromLatin1(ResourceOf(style))).convertToFormat(QImage::Format_RGB32);
}

QPoint Centre(const QImage &image)
{
    return {image.width() / 2, image.height() / 2};
}

// Every pixel of `filled` equals `drawn`, except the lime face, which became `face`.
void CompareRecoloured(const QImage &filled, const QImage &drawn, QRgb face)
{
    QCOMPARE(filled.size(), drawn.size());
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb want = drawn.pixel(x, y) == kLime ? face : drawn.pixel(x, y);
            if (filled.pixel(x, y) != want)
                QFAIL(qPrintable(QString("pixel %1,%2 is %3, expected %4")
                                     .arg(x).arg(y).arg(filled.pixel(x, y), 8, 16).arg(want, 8, 16)));
        }
}

// A lamp switched on with a short blink period, counting its blink steps.
struct TBlinkingLed
{
    TALed Led;
    int Ticks = 0;

    TBlinkingLed()
    {
        Led.SetInterval(20);
        Led.OnTimer = [this](QObject *) { ++Ticks; };
        Led.SetValue(true);
    }
    bool ReachOffFrame()
    {
        return QTest::qWaitFor([this] { return !Led.ShowsOnImage(); }, 10000);
    }
    bool TicksAgain()
    {
        const int before = Ticks;
        return QTest::qWaitFor([&] { return Ticks > before; }, 10000);
    }
    bool StaysStill()
    {
        const int before = Ticks;
        return NothingHappensWithin(200, [&] { return Ticks != before; });
    }
};

} // namespace

class TstALed : public QObject
{
    Q_OBJECT

private slots:
    void newLampIsOffWithDefaults()
    {
        TALed led;
        QCOMPARE(led.Value(), false);
        QCOMPARE(led.Blink(), true);
        QCOMPARE(led.Interval(), 1000);
        QCOMPARE(led.TrueColor(), TColor(65280));
        QCOMPARE(led.FalseColor(), TColor(12632256));
        QCOMPARE(led.LEDStyle(), TALed::LEDSmall);
        QCOMPARE(led.size(), QSize(16, 16));
        QVERIFY(!led.ShowsOnImage());
    }

    void styleSetsSizeAndImage_data()
    {
        QTest::addColumn<TALed::TLEDStyle>("style");
        QTest::addColumn<QSize>("size");
        QTest::newRow("small") << TALed::LEDSmall << QSize(16, 16);
        QTest::newRow("large") << TALed::LEDLarge << QSize(22, 22);
        QTest::newRow("square small") << TALed::LEDSqSmall << QSize(16, 16);
        QTest::newRow("square large") << TALed::LEDSqLarge << QSize(22, 22);
        QTest::newRow("vertical") << TALed::LEDVertical << QSize(14, 22);
        QTest::newRow("horizontal") << TALed::LEDHorizontal << QSize(22, 14);
    }

    void styleSetsSizeAndImage()
    {
        QFETCH(TALed::TLEDStyle, style);
        QFETCH(QSize, size);
        TALed led;
        led.SetLEDStyle(style == TALed::LEDSmall ? TALed::LEDLarge : TALed::LEDSmall);
        led.resize(97, 41);
        led.SetLEDStyle(style);
        QCOMPARE(led.size(), size);
        QCOMPARE(led.sizeHint(), size);
        QCOMPARE(led.OnImage().size(), size);
        QCOMPARE(led.OffImage().size(), size);
        QCOMPARE(DrawnLamp(style).size(), size);
        QCOMPARE(DrawnLamp(style).pixel(Centre(DrawnLamp(style))), kLime);

        led.SetLEDStyle(static_cast<TALed::TLEDStyle>(17));
        QCOMPARE(led.LEDStyle(), style);
        QCOMPARE(led.size(), size);
    }

    void faceTakesBothColours_data()
    {
        styleSetsSizeAndImage_data();
    }

    void faceTakesBothColours()
    {
        QFETCH(TALed::TLEDStyle, style);
        TALed led;
        led.SetLEDStyle(style);
        const QImage drawn = DrawnLamp(style);
        CompareRecoloured(led.OnImage(), drawn, kLime);
        CompareRecoloured(led.OffImage(), drawn, kSilver);

        led.SetTrueColor(0x0000FF);
        led.SetFalseColor(0xFF0000);
        CompareRecoloured(led.OnImage(), drawn, qRgb(255, 0, 0));
        CompareRecoloured(led.OffImage(), drawn, qRgb(0, 0, 255));

        led.SetFalseColor(clBtnFace);
        QCOMPARE(led.FalseColor(), clBtnFace);
        CompareRecoloured(led.OffImage(), drawn, ToQColor(clBtnFace).rgb());
        led.SetFalseColor(0x00FF00);
        QCOMPARE(led.OffImage(), drawn);
    }

    void floodFillStaysInsideConnectedRegion_data()
    {
        // '#' lime, '.' black; the seed is the top-left pixel; 'F' marks where the fill must land.
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QRgb>("fill");
        QTest::newRow("wall splits the face")
            << QStringList{"##.#", "##.#", "##.#"} << QStringList{"FF.#", "FF.#", "FF.#"} << qRgb(255, 0, 0);
        QTest::newRow("corners do not connect")
            << QStringList{"#.#", ".#.", "#.#"} << QStringList{"F.#", ".#.", "#.#"} << qRgb(255, 0, 0);
        QTest::newRow("winding path is followed")
            << QStringList{"#...", "####", "...#", "####"} << QStringList{"F...", "FFFF", "...F", "FFFF"}
            << qRgb(255, 0, 0);
        QTest::newRow("seed of another colour changes nothing")
            << QStringList{".##", "###"} << QStringList{".##", "###"} << qRgb(255, 0, 0);
        QTest::newRow("fill with the matched colour changes nothing")
            << QStringList{"##", "##"} << QStringList{"##", "##"} << kLime;
    }

    void floodFillStaysInsideConnectedRegion()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QRgb, fill);
        const auto paint = [](const QStringList &rows, QRgb fillColour) {
            QImage image(rows[0].size(), rows.size(), QImage::Format_RGB32);
            for (int y = 0; y < rows.size(); ++y)
                for (int x = 0; x < rows[y].size(); ++x) {
                    const QChar c = rows[y][x];
                    image.setPixel(x, y, c == '#' ? kLime : c == 'F' ? (fillColour | 0xFF000000) : qRgb(0, 0, 0));
                }
            return image;
        };
        QImage image = paint(before, fill);
        FloodFill(image, {0, 0}, kLime, fill);
        QCOMPARE(image, paint(after, fill));

        QImage untouched = paint(before, fill);
        FloodFill(untouched, {-1, 5}, kLime, fill);
        QCOMPARE(untouched, paint(before, fill));
    }

    void repeatedValueDrawsOnce()
    {
        TALed led;
        led.SetBlink(false);
        led.show();
        QVERIFY(QTest::qWaitForWindowExposed(&led));
        TPaintCounter paints;
        led.installEventFilter(&paints);

        led.SetValue(true);
        QCOMPARE(paints.Count, 1);
        QVERIFY(led.ShowsOnImage());
        led.SetValue(true);
        QCOMPARE(paints.Count, 1);
        led.SetValue(false);
        QCOMPARE(paints.Count, 2);
        QVERIFY(!led.ShowsOnImage());
    }

    void paintShowsCurrentImageStretched()
    {
        TALed led;
        led.SetLEDStyle(TALed::LEDHorizontal);
        led.SetBlink(false);
        led.resize(44, 28);
        QCOMPARE(led.grab().toImage().pixel(22, 14), kSilver);
        led.SetValue(true);
        const QImage shown = led.grab().toImage();
        QCOMPARE(shown.size(), QSize(44, 28));
        QCOMPARE(shown.pixel(22, 14), kLime);
        QCOMPARE(shown.pixel(0, 0), led.OnImage().pixel(0, 0));
    }

    void blinkAlternatesAndRaisesOnTimer()
    {
        TALed led;
        led.SetInterval(30);
        QList<bool> shownAtTick;
        led.OnTimer = [&](QObject *sender) {
            QCOMPARE(sender, &led);
            shownAtTick << led.ShowsOnImage();
        };
        led.SetValue(true);
        QVERIFY(led.ShowsOnImage());
        QTRY_VERIFY_WITH_TIMEOUT(shownAtTick.size() >= 3, 10000);
        QCOMPARE(shownAtTick.mid(0, 3), (QList<bool>{false, true, false}));
    }

    void valueFalseStopsBlinking()
    {
        TBlinkingLed blinking;
        QVERIFY(blinking.TicksAgain());
        blinking.Led.SetValue(false);
        QVERIFY(!blinking.Led.ShowsOnImage());
        QVERIFY(blinking.StaysStill());
        QVERIFY(!blinking.Led.ShowsOnImage());
    }

    void blinkSwitchTakesEffectAtOnce()
    {
        TBlinkingLed blinking;
        QVERIFY(blinking.ReachOffFrame());
        blinking.Led.SetBlink(false);
        QVERIFY(blinking.Led.ShowsOnImage());
        QVERIFY(blinking.StaysStill());
        QVERIFY(blinking.Led.ShowsOnImage());

        blinking.Led.SetBlink(true);
        QVERIFY(blinking.TicksAgain());
    }

    void colourChangeWhileBlinkingRestartsFromOnImage_data()
    {
        QTest::addColumn<TColor>("colour");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("new colour") << TColor(0x0000FF) << true;
        QTest::newRow("same colour") << TColor(0x00FF00) << false;
    }
    void colourChangeWhileBlinkingRestartsFromOnImage()
    {
        QFETCH(TColor, colour);
        QFETCH(bool, restarts);
        TBlinkingLed blinking;
        const QImage onBefore = blinking.Led.OnImage();
        QVERIFY(blinking.ReachOffFrame());
        blinking.Led.SetTrueColor(colour);
        QCOMPARE(blinking.Led.ShowsOnImage(), restarts);
        QCOMPARE(blinking.Led.OnImage() == onBefore, !restarts);
        QCOMPARE(blinking.Led.OnImage().pixel(Centre(blinking.Led.OnImage())), ToQColor(colour).rgb());
        QVERIFY(blinking.Led.Blink());
        QVERIFY(blinking.TicksAgain());
    }

    void intervalChangeReachesRunningBlink()
    {
        TALed led;
        led.SetInterval(1000000);
        int ticks = 0;
        led.OnTimer = [&](QObject *) { ++ticks; };
        led.SetValue(true);
        led.SetInterval(20);
        QCOMPARE(led.Interval(), 20);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 10000);
    }

    void mouseEventsAreRaised()
    {
        TALed led;
        QStringList seen;
        led.OnMouseEnter = [&](QObject *) { seen << "enter"; };
        led.OnMouseLeave = [&](QObject *) { seen << "leave"; };
        led.OnClick = [&](QObject *) { seen << "click"; };
        led.show();
        QVERIFY(QTest::qWaitForWindowExposed(&led));

        // The simulated click first moves the mouse into the lamp.
        QTest::mouseClick(&led, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseClick(&led, Qt::RightButton, {}, QPoint(8, 8));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&led, &leave);
        QCOMPARE(seen, (QStringList{"enter", "click", "leave"}));
    }

    // A screen reader reads Value as the lamp's checked state, whichever image a blink shows.
    void valueIsTheAccessibleCheckedState()
    {
        TBlinkingLed blinking;
        TALed &led = blinking.Led;
        QAccessibleInterface *lamp = QAccessible::queryAccessibleInterface(&led);
        QCOMPARE(lamp->role(), QAccessible::CheckBox);
        QVERIFY(lamp->state().checkable && lamp->state().readOnly && !lamp->state().focusable);
        QVERIFY(lamp->state().checked);
        QVERIFY(blinking.ReachOffFrame());
        QVERIFY(lamp->state().checked);
        led.SetValue(false);
        QVERIFY(!lamp->state().checked);
    }
};

QTEST_MAIN(TstALed)
#include "tst_aled.moc"
