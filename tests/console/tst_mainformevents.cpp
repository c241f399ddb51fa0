#include "fakeserialplatform.h"
#include "mainformfixture.h"

#include "appeventlist.h"
#include "appevents.h"
#include "commportdriver.h"
#include "panel.h"
#include "rxsplitter.h"

#include <QCheckBox>
#include <QToolTip>
#include <QtTest>

// The window's pane splitter and its reaction to the application gaining and losing activation.
class TstMainFormEvents : public QObject
{
    Q_OBJECT

    static void Switch(Qt::ApplicationState state)
    {
        TAppEventList::Instance().ApplicationStateChanged(state);
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        Switch(Qt::ApplicationInactive);
    }

    void autoDisConnectFollowsActivation_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<int>("opens");
        QTest::addColumn<QString>("statusAfterDeactivation");
        // Checked: the first activation reconnects (opens again), the return after leaving reopens.
        QTest::newRow("checked") << true << 3 << "Disconnected";
        QTest::newRow("unchecked") << false << 1 << "Connected";
    }

    void autoDisConnectFollowsActivation()
    {
        QFETCH(bool, automatic);
        QFETCH(int, opens);
        QFETCH(QString, statusAfterDeactivation);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Control<QCheckBox>("cbAuto")->setChecked(automatic);
        f.Click("ConnectBtn");
        QVERIFY(f.Form().CommPortDriver().IsOpen());

        Switch(Qt::ApplicationActive);
        Switch(Qt::ApplicationInactive);
        QCOMPARE(f.Form().StatusText(), statusAfterDeactivation);
        QCOMPARE(f.Form().CommPortDriver().IsOpen(), !automatic);

        Switch(Qt::ApplicationActive);
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
        QVERIFY(f.Form().CommPortDriver().IsOpen());
        QCOMPARE(platform.CallsStartingWith({"Open"}).size(), opens);
    }

    void deactivationWhileClosedStillShowsDisconnected()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Control<QCheckBox>("cbAuto")->setChecked(true);
        platform.OpenFailure = TOpenFailure::InUse;
        Switch(Qt::ApplicationActive);
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        QCOMPARE(f.Dialogs.Beeps, 1);
        Switch(Qt::ApplicationInactive);
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
    }

    void splitterJoinsTheTwoPanesWithinTheLimits()
    {
        TMainFormFixture f;
        auto *splitter = f.Control<TRxSplitter>("RxSplitter1");
        QCOMPARE(splitter->ControlFirst(), f.Control<QWidget>("Panel3"));
        QCOMPARE(splitter->ControlSecond(), f.Control<QWidget>("Panel4"));
        QCOMPARE(splitter->SplitKind(), TRxSplitter::TSplitKind::FirstVertical);
        QCOMPARE(splitter->TopLeftLimit(), 200);
        QCOMPARE(splitter->BottomRightLimit(), 150);
        QCOMPARE(splitter->cursor().shape(), Qt::SplitVCursor);
        QCOMPARE(f.Form().findChild<TAppEvents *>("AppEvents")->HintColor(), TColor(16776176));
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(240, 251, 255));
    }

    void draggingTheBarSetsTheReceivePaneHeight()
    {
        TMainFormFixture f;
        f.Form().resize(711, 504);
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        auto *splitter = f.Control<TRxSplitter>("RxSplitter1");
        auto *upper = f.Control<TPanel>("Panel3");
        const int top = splitter->Top();
        const int height = upper->Height();

        QTest::mousePress(splitter, Qt::LeftButton, {}, {20, 1});
        QMouseEvent move(QEvent::MouseMove, QPointF(20, -29), splitter->mapToGlobal(QPointF(20, -29)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(splitter, &move);
        QCOMPARE(upper->Height(), height);
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, {20, -29});

        const int expected = std::max(top - 30, 200);
        QCOMPARE(splitter->Top(), expected);
        QCOMPARE(upper->Height(), height + expected - top);
    }
};

QTEST_MAIN(TstMainFormEvents)
#include "tst_mainformevents.moc"
