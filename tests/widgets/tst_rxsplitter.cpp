#include "apphints.h"
#include "rxsplitter.h"

#include <QRubberBand>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

constexpr int kTopBar = 101;
constexpr int kStatusBar = 19;

// The main window's arrangement: a bar on top, the upper pane, the splitter, the lower pane
// filling the rest, a status bar at the bottom; all of it in the window's client area.
struct TPanes
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QWidget *upper = new QWidget;
    TRxSplitter *splitter = new TRxSplitter;
    QWidget *lower = new QWidget;

    TPanes(int clientHeight, int upperHeight)
    {
        auto *layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto *top = new QWidget;
        top->setFixedHeight(kTopBar);
        auto *status = new QWidget;
        status->setFixedHeight(kStatusBar);
        upper->setFixedHeight(upperHeight);
        upper->setProperty("Align", "alTop");
        lower->setProperty("Align", int(TRxSplitter::alClient));
        lower->setMinimumHeight(1);
        layout->addWidget(top);
        layout->addWidget(upper);
        layout->addWidget(splitter);
        layout->addWidget(lower, 1);
        layout->addWidget(status);
        splitter->SetAlign(TRxSplitter::alTop);
        splitter->SetControlFirst(upper);
        splitter->SetControlSecond(lower);
        splitter->SetTopLeftLimit(200);
        splitter->SetBottomRightLimit(150);
        window->resize(703, clientHeight);
        window->show();
        layout->activate();
    }

    void Mouse(QEvent::Type type, QPoint pos)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, splitter->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(splitter, &event);
    }
    void Press(int y = 1) { Mouse(QEvent::MouseButtonPress, {5, y}); }
    void Move(int dy) { Mouse(QEvent::MouseMove, {5, 1 + dy}); }
    void Release(int dy) { Mouse(QEvent::MouseButtonRelease, {5, 1 + dy}); }
    void Escape()
    {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window->focusWidget() ? window->focusWidget() : window.get(), &event);
    }
    QRubberBand *Line() const { return window->findChild<QRubberBand *>(); }
};

} // namespace

class TstRxSplitter : public QObject
{
    Q_OBJECT
private slots:
    void dragIsClampedToTheLimits_data()
    {
        QTest::addColumn<int>("clientHeight");
        QTest::addColumn<int>("upperHeight");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("expectedTop");
        QTest::addColumn<bool>("clamped");

        // Design size: the bar's top at 319, its allowed tops 200 .. 477 - 150 - 3 = 324.
        QTest::newRow("inside") << 477 << 218 << 3 << 322 << false;
        QTest::newRow("above the top limit") << 477 << 218 << -200 << 200 << true;
        QTest::newRow("on the top limit") << 477 << 218 << -119 << 200 << false;
        QTest::newRow("below the bottom limit") << 477 << 218 << 50 << 324 << true;
        // 300 < 200 + 150 + 3: the limits conflict; the bar's top starts at 201.
        QTest::newRow("conflict, pointer above 200") << 300 << 100 << -10 << 200 << true;
        QTest::newRow("conflict, pointer below 200") << 300 << 100 << 10 << 300 - 153 << true;
        QTest::newRow("conflict, pointer on 200") << 300 << 100 << -1 << 300 - 153 << true;
    }

    void dragIsClampedToTheLimits()
    {
        QFETCH(int, clientHeight);
        QFETCH(int, upperHeight);
        QFETCH(int, dy);
        QFETCH(int, expectedTop);
        QFETCH(bool, clamped);
        TPanes panes(clientHeight, upperHeight);
        const int top = kTopBar + upperHeight;
        QCOMPARE(panes.splitter->Top(), top);

        panes.Press();
        panes.Move(dy);
        QCOMPARE(panes.splitter->LinePosition(), expectedTop);
        QCOMPARE(panes.splitter->cursor().shape(), clamped ? Qt::ForbiddenCursor : Qt::SplitVCursor);
        panes.Release(dy);

        QCOMPARE(panes.upper->height(), upperHeight + expectedTop - top);
        QCOMPARE(panes.splitter->Top(), expectedTop);
        QCOMPARE(panes.lower->height(), clientHeight - kStatusBar - expectedTop - 3);
        QCOMPARE(panes.splitter->cursor().shape(), Qt::SplitVCursor);
    }

    void panesKeepTheirSizeUntilRelease()
    {
        TPanes panes(477, 218);
        panes.Press();
        panes.Move(-40);
        QVERIFY(panes.Line() && panes.Line()->isVisible());
        QCOMPARE(panes.Line()->y(), 279); // through the bar's centre: 279 + 3 / 2 - 2 / 2
        QCOMPARE(panes.Line()->height(), 2);
        QCOMPARE(panes.upper->height(), 218);
        QCOMPARE(panes.splitter->Top(), 319);
        panes.Release(-40);
        QVERIFY(!panes.Line());
        QCOMPARE(panes.upper->height(), 178);
    }

    void clickWithoutMovementResizesByZeroAndReports()
    {
        TPanes panes(477, 218);
        int changing = 0;
        int changed = 0;
        panes.splitter->OnPosChanging = [&](QObject *, int, int, bool &) { ++changing; };
        panes.splitter->OnPosChanged = [&](QObject *sender) {
            QCOMPARE(sender, panes.splitter);
            ++changed;
        };
        TAppHints::Instance().SetShowHint(true);
        panes.Press();
        panes.Release(0);
        QVERIFY(TAppHints::Instance().ShowHint());
        QCOMPARE(changing, 1);
        QCOMPARE(changed, 1);
        QCOMPARE(panes.upper->height(), 218);
        QCOMPARE(panes.lower->height(), 136);
    }

    void refusedMoveKeepsTheLastLine()
    {
        TPanes panes(477, 218);
        bool allow = true;
        panes.splitter->OnPosChanging = [&](QObject *, int, int, bool &allowChange) { allowChange = allow; };
        panes.Press();
        panes.Move(-10);
        allow = false;
        panes.Move(-60);
        QCOMPARE(panes.splitter->LinePosition(), 309);
        QCOMPARE(panes.splitter->cursor().shape(), Qt::ForbiddenCursor);
        panes.Release(-60);
        QCOMPARE(panes.upper->height(), 208);
    }

    void cancelledDragLeavesBothPanesAsTheyWere_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Escape") << true;
        QTest::newRow("window hidden") << false;
    }
    void cancelledDragLeavesBothPanesAsTheyWere()
    {
        QFETCH(bool, byEscape);
        TPanes panes(477, 218);
        int changed = 0;
        panes.splitter->OnPosChanged = [&](QObject *) { ++changed; };
        TAppHints::Instance().SetShowHint(true);
        panes.Press();
        QVERIFY(!TAppHints::Instance().ShowHint());
        panes.Move(-50);
        if (byEscape)
            panes.Escape();
        else
            panes.window->hide();
        QVERIFY(!panes.splitter->IsDragging());
        QVERIFY(!panes.Line());
        QVERIFY(TAppHints::Instance().ShowHint());
        panes.Release(-50);
        QCOMPARE(changed, 0);
        QCOMPARE(panes.upper->height(), 218);
        QCOMPARE(panes.splitter->Top(), 319);
        if (!byEscape)
            return;
        QCOMPARE(panes.lower->height(), 136);
        // The key handler is gone with the drag: a later Escape is not swallowed.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        escape.ignore();
        QApplication::sendEvent(panes.window.get(), &escape);
        QVERIFY(!escape.isAccepted());
    }

    void splitKindFollowsTheAlignments_data()
    {
        using K = TRxSplitter::TSplitKind;
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second"); // -1: no second control
        QTest::addColumn<int>("own");
        QTest::addColumn<K>("kind");
        QTest::addColumn<Qt::CursorShape>("cursor");

        QTest::newRow("top, client") << int(TRxSplitter::alTop) << int(TRxSplitter::alClient)
                                     << int(TRxSplitter::alTop) << K::FirstVertical << Qt::SplitVCursor;
        QTest::newRow("bottom, none") << int(TRxSplitter::alBottom) << -1 << int(TRxSplitter::alBottom)
                                      << K::FirstVertical << Qt::SplitVCursor;
        QTest::newRow("client, bottom") << int(TRxSplitter::alClient) << int(TRxSplitter::alBottom)
                                        << int(TRxSplitter::alBottom) << K::SecondVertical << Qt::SplitVCursor;
        QTest::newRow("left, client") << int(TRxSplitter::alLeft) << int(TRxSplitter::alClient)
                                      << int(TRxSplitter::alLeft) << K::FirstHorizontal << Qt::SplitHCursor;
        QTest::newRow("client, right") << int(TRxSplitter::alClient) << int(TRxSplitter::alRight)
                                       << int(TRxSplitter::alRight) << K::SecondHorizontal << Qt::SplitHCursor;
        QTest::newRow("own alignment differs") << int(TRxSplitter::alTop) << int(TRxSplitter::alClient)
                                               << int(TRxSplitter::alBottom) << K::None << Qt::ArrowCursor;
        QTest::newRow("top, top") << int(TRxSplitter::alTop) << int(TRxSplitter::alTop)
                                  << int(TRxSplitter::alTop) << K::None << Qt::ArrowCursor;
        QTest::newRow("client, none") << int(TRxSplitter::alClient) << -1 << int(TRxSplitter::alTop) << K::None
                                      << Qt::ArrowCursor;
    }

    void splitKindFollowsTheAlignments()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, own);
        QFETCH(TRxSplitter::TSplitKind, kind);
        QFETCH(Qt::CursorShape, cursor);
        QWidget parent;
        auto *a = new QWidget(&parent);
        auto *b = new QWidget(&parent);
        a->setProperty("Align", first);
        b->setProperty("Align", second);
        auto *splitter = new TRxSplitter(&parent);
        splitter->SetAlign(own);
        splitter->SetControlFirst(a);
        splitter->SetControlSecond(second < 0 ? nullptr : b);
        QCOMPARE(splitter->SplitKind(), kind);
        QCOMPARE(splitter->cursor().shape(), cursor);

        QTest::mousePress(splitter, Qt::LeftButton, {}, {1, 1});
        QCOMPARE(splitter->IsDragging(), kind != TRxSplitter::TSplitKind::None);
    }

    void bottomAlignedPaneShrinksWhenTheBarMovesDown()
    {
        QWidget window;
        window.resize(300, 400);
        auto *client = new QWidget(&window);
        auto *bottom = new QWidget(&window);
        client->setProperty("Align", "alClient");
        bottom->setProperty("Align", "alBottom");
        bottom->setGeometry(0, 300, 300, 100);
        auto *splitter = new TRxSplitter(&window);
        splitter->SetAlign(TRxSplitter::alBottom);
        splitter->setGeometry(0, 297, 300, 3);
        splitter->SetControlFirst(client);
        splitter->SetControlSecond(bottom);
        splitter->SetTopLeftLimit(20);
        splitter->SetBottomRightLimit(20);
        window.show();

        QTest::mousePress(splitter, Qt::LeftButton, {}, {5, 1});
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 31), splitter->mapToGlobal(QPointF(5, 31)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(splitter, &move);
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, {5, 31});
        QCOMPARE(bottom->height(), 70);
    }

    void controlsRefuseSplitterAndWindowAndClearWhenDestroyed()
    {
        QWidget window;
        auto *splitter = new TRxSplitter(&window);
        splitter->SetControlFirst(splitter);
        QVERIFY(!splitter->ControlFirst());
        splitter->SetControlSecond(&window);
        QVERIFY(!splitter->ControlSecond());

        auto *pane = new QWidget(&window);
        splitter->SetControlFirst(pane);
        splitter->SetControlSecond(pane);
        delete pane;
        QVERIFY(!splitter->ControlFirst());
        QVERIFY(!splitter->ControlSecond());
        QCOMPARE(splitter->SplitKind(), TRxSplitter::TSplitKind::None);
    }

    void limitOffsetAndTopAreReachableByName()
    {
        QWidget parent;
        auto *splitter = new TRxSplitter(&parent);
        QVERIFY(splitter->setProperty("LimitOffset", 35));
        QCOMPARE(splitter->TopLeftLimit(), 35);
        QCOMPARE(splitter->BottomRightLimit(), 35);
        QVERIFY(splitter->setProperty("Top", 319));
        QCOMPARE(splitter->y(), 319);
        QCOMPARE(splitter->property("Top").toInt(), 319);
    }

    void topGivenInALaidOutParentLeavesTheBarBetweenThePanes_data()
    {
        QTest::addColumn<int>("top");
        QTest::newRow("far above") << -99999;
        QTest::newRow("far below") << 99999;
    }
    void topGivenInALaidOutParentLeavesTheBarBetweenThePanes()
    {
        QFETCH(int, top);
        TPanes panes(477, 218);
        panes.splitter->SetTop(top);
        QTRY_COMPARE(panes.splitter->Top(), 319);
    }

    void aligningWithoutControlsTakesTheNeighbour()
    {
        QWidget parent;
        parent.resize(200, 200);
        auto *upper = new QWidget(&parent);
        upper->setGeometry(0, 0, 200, 50);
        auto *inner = new QWidget(upper); // the direct child of the parent is taken, not what lies in it
        inner->setGeometry(0, 40, 200, 10);
        auto *splitter = new TRxSplitter(&parent);
        splitter->setGeometry(0, 50, 200, 10);
        splitter->SetAlign(TRxSplitter::alTop);
        QCOMPARE(splitter->height(), 3);
        QCOMPARE(splitter->ControlFirst(), upper);
    }
};

QTEST_MAIN(TstRxSplitter)
#include "tst_rxsplitter.moc"
