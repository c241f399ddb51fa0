#include "rxgifanimator.h"

#include "nothinghappens.h"

#include <QtTest>

#include <memory>

namespace {

struct TShownAnimator
{
    QWidget parent;
    TRxGIFAnimator *animator = new TRxGIFAnimator(&parent);

    explicit TShownAnimator(const QString &file)
    {
        animator->SetSource(file);
        parent.show();
    }
};

QColor Colour(const TRxGIFAnimator &animator)
{
    return animator.CurrentFrame().pixelColor(1, 1);
}

} // namespace

class TstGifAnimator : public QObject
{
    Q_OBJECT
private slots:
    void framesKeepTheirOrderAndLimitedDelays()
    {
        TRxGIFAnimator animator;
        animator.SetSource(QFINDTESTDATA("data/frames.gif"));
        QCOMPARE(animator.FrameCount(), 4);
        QCOMPARE(animator.FrameIndex(), 0);
        QCOMPARE(animator.FrameDelay(0), 50);    // 20 ms is raised to the minimum
        QCOMPARE(animator.FrameDelay(1), 250);
        QCOMPARE(animator.FrameDelay(2), 10000); // 20 s is cut to the maximum
        QCOMPARE(animator.FrameDelay(3), 50);    // no delay at all
        QCOMPARE(Colour(animator), QColor(Qt::red));
    }

    void ticksAdvanceAndWrapToTheFirstFrame()
    {
        TShownAnimator shown(QFINDTESTDATA("data/frames.gif"));
        TRxGIFAnimator &animator = *shown.animator;
        animator.SetAnimate(true);
        QCOMPARE(animator.Interval(), 50);
        const QList<QColor> colours{Qt::green, Qt::blue, Qt::white, Qt::red, Qt::green};
        const QList<int> intervals{250, 10000, 50, 50, 250};
        for (int i = 0; i < colours.size(); ++i) {
            animator.Tick();
            QCOMPARE(animator.FrameIndex(), (i + 1) % 4);
            QCOMPARE(Colour(animator), colours[i]);
            QCOMPARE(animator.Interval(), intervals[i]);
        }
        QVERIFY(animator.Animate());
    }

    void loopFalseStopsOnReturningToTheFirstFrame()
    {
        TShownAnimator shown(QFINDTESTDATA("data/frames.gif"));
        TRxGIFAnimator &animator = *shown.animator;
        animator.SetLoop(false);
        animator.SetAnimate(true);
        for (int i = 0; i < 3; ++i)
            animator.Tick();
        QVERIFY(animator.Animate());
        animator.Tick();
        QCOMPARE(animator.FrameIndex(), 0);
        QVERIFY(!animator.Animate());
    }

    void advancesOnlyWhenVisibleAndParented()
    {
        TShownAnimator shown(QFINDTESTDATA("data/frames.gif"));
        shown.animator->hide();
        shown.animator->Tick();
        QCOMPARE(shown.animator->FrameIndex(), 0);

        TRxGIFAnimator orphan;
        orphan.SetSource(QFINDTESTDATA("data/frames.gif"));
        orphan.show();
        orphan.Tick();
        QCOMPARE(orphan.FrameIndex(), 0);

        TShownAnimator still(QFINDTESTDATA("data/still.gif"));
        QCOMPARE(still.animator->FrameCount(), 1);
        still.animator->Tick();
        QCOMPARE(still.animator->FrameIndex(), 0);
    }

    void clockRunsFromTheEventLoop()
    {
        TShownAnimator shown(QFINDTESTDATA("data/frames.gif"));
        QSignalSpy frames(shown.animator, &TRxGIFAnimator::FrameChanged);
        shown.animator->SetAnimate(true);
        QVERIFY(frames.wait(5000));
        QCOMPARE(frames.first().first().toInt(), 1);
        shown.animator->SetAnimate(false);
        const int seen = frames.count();
        QVERIFY(NothingHappensWithin(400, [&] { return frames.count() != seen; }));
    }

    void autoSizeTakesTheImageSize()
    {
        TRxGIFAnimator animator;
        animator.resize(30, 30);
        animator.SetSource(QFINDTESTDATA("data/frames.gif"));
        QCOMPARE(animator.size(), QSize(4, 4));
        animator.SetAutoSize(false);
        animator.resize(30, 30);
        animator.SetSource(QFINDTESTDATA("data/still.gif"));
        QCOMPARE(animator.size(), QSize(30, 30));
    }

    void badDataLeavesNoFrames_data()
    {
        QTest::addColumn<QByteArray>("data");
        QFile file(QFINDTESTDATA("data/frames.gif"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a gif") << QByteArray("hello, world");
        QTest::newRow("header only") << good.left(13);
        QTest::newRow("huge screen, no frames") << QByteArray::fromHex("4749463839610000ffff0000003b");
    }

    void badDataLeavesNoFrames()
    {
        QFETCH(QByteArray, data);
        QWidget parent;
        auto *animator = new TRxGIFAnimator(&parent);
        parent.show();
        QVERIFY(!animator->LoadFromData(data));
        QCOMPARE(animator->FrameCount(), 0);
        animator->SetAnimate(true);
        animator->Tick();
        animator->repaint();
        QVERIFY(animator->CurrentFrame().isNull());
    }

    void theAboutAnimationIsNineFramesOfATenth()
    {
        TRxGIFAnimator animator;
        animator.SetSource(QFINDTESTDATA("../../resources/about/velorand.gif"));
        QCOMPARE(animator.FrameCount(), 9);
        QCOMPARE(animator.size(), QSize(100, 50));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(animator.FrameDelay(i), 100);
    }

};

QTEST_MAIN(TstGifAnimator)
#include "tst_gifanimator.moc"
