#include "appeventlist.h"
#include "appevents.h"
#include "apphints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <memory>

class TAppEventsTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_calls.clear();
        TAppEventList::Instance().PreviousOnActivate = [this](QObject *) { m_calls << "app+"; };
        TAppEventList::Instance().PreviousOnDeactivate = [this](QObject *) { m_calls << "app-"; };
        // Start every test from an inactive application.
        Simulate(Qt::ApplicationInactive);
        m_calls.clear();
    }

    void cleanup()
    {
        TAppEventList::Instance().PreviousOnActivate = nullptr;
        TAppEventList::Instance().PreviousOnDeactivate = nullptr;
    }

    void newestInstanceFirstThenTheApplicationsHandler()
    {
        TAppEvents first;
        TAppEvents second;
        first.OnActivate = [this](QObject *sender) {
            QCOMPARE(sender, QCoreApplication::instance());
            m_calls << "first+";
        };
        second.OnActivate = [this](QObject *) { m_calls << "second+"; };
        second.OnDeactivate = [this](QObject *) { m_calls << "second-"; };
        Simulate(Qt::ApplicationActive);
        Simulate(Qt::ApplicationInactive);
        QCOMPARE(m_calls, QStringList({"second+", "first+", "app+", "second-", "app-"}));
    }

    void unchainedInstanceEndsTheWalk()
    {
        TAppEvents first;
        TAppEvents middle;
        TAppEvents last;
        first.OnActivate = [this](QObject *) { m_calls << "first+"; };
        last.OnActivate = [this](QObject *) { m_calls << "last+"; };
        middle.SetChained(false); // stops the walk even without a handler of its own
        Simulate(Qt::ApplicationActive);
        QCOMPARE(m_calls, QStringList({"last+"}));
    }

    void eventsArriveLaterFromTheEventLoop()
    {
        TAppEvents events;
        events.OnActivate = [this](QObject *) { m_calls << "+"; };
        TAppEventList::Instance().ApplicationStateChanged(Qt::ApplicationActive);
        QVERIFY(m_calls.isEmpty());
        QTRY_COMPARE(m_calls, QStringList({"+", "app+"}));
    }

    void oneEventPerRealChange_data()
    {
        QTest::addColumn<QList<int>>("batches"); // states reported, a batch per event-loop turn; -1 ends one
        QTest::addColumn<QStringList>("expected");
        const int a = Qt::ApplicationActive;
        const int i = Qt::ApplicationInactive;
        const int h = Qt::ApplicationHidden;
        QTest::newRow("switch away and back") << QList<int>{a, -1, i, -1, a, -1} << QStringList{"+", "-", "+"};
        QTest::newRow("repeated state") << QList<int>{a, -1, a, -1, a, -1} << QStringList{"+"};
        QTest::newRow("flicker between own windows") << QList<int>{a, -1, i, a, -1} << QStringList{"+"};
        QTest::newRow("hidden counts as inactive") << QList<int>{a, -1, h, -1, i, -1} << QStringList{"+", "-"};
    }

    void oneEventPerRealChange()
    {
        QFETCH(QList<int>, batches);
        QFETCH(QStringList, expected);
        TAppEvents events;
        events.OnActivate = [this](QObject *) { m_calls << "+"; };
        events.OnDeactivate = [this](QObject *) { m_calls << "-"; };
        TAppEventList::Instance().PreviousOnActivate = nullptr;
        TAppEventList::Instance().PreviousOnDeactivate = nullptr;
        for (int state : batches) {
            if (state < 0)
                QCoreApplication::processEvents();
            else
                TAppEventList::Instance().ApplicationStateChanged(Qt::ApplicationState(state));
        }
        QCOMPARE(m_calls, expected);
    }

    void destroyedInstanceIsNoLongerCalled()
    {
        auto doomed = std::make_unique<TAppEvents>();
        TAppEvents survivor;
        doomed->OnActivate = [this](QObject *) { m_calls << "doomed+"; };
        survivor.OnActivate = [this, &doomed](QObject *) {
            m_calls << "survivor+";
            doomed.reset(); // a handler may destroy an instance that is still to be called
        };
        Simulate(Qt::ApplicationActive);
        QCOMPARE(m_calls, QStringList({"survivor+", "app+"}));
    }

    void hintPropertiesReachTheApplication()
    {
        TAppEvents events;
        QVERIFY(events.setProperty("HintColor", 16776176u));
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(240, 251, 255));
        QCOMPARE(TAppHints::Instance().Color(), TColor(16776176));
        events.SetHintPause(700);
        events.SetShowHint(false);
        QCOMPARE(TAppHints::Instance().Pause(), 700);
        QVERIFY(!TAppHints::Instance().ShowHint());
        // A second instance reads the application's current values.
        TAppEvents other;
        QCOMPARE(other.HintPause(), 700);
        other.SetShowHint(true);
        QVERIFY(events.ShowHint());
        events.SetHintPause(500);
    }

    // In a dark theme the palette's hint text is near white, unreadable on a pale hint colour.
    void hintTextReadableOnTheHintColour_data()
    {
        QTest::addColumn<TColor>("hintColor");
        QTest::addColumn<QColor>("text");
        QTest::newRow("designed pale blue-white") << TColor(16776176) << QColor(Qt::black);
        QTest::newRow("dark blue") << TColor(0x800000) << QColor(Qt::white);
        QTest::newRow("the theme's own") << clInfoBk << kDarkHintText;
    }
    void hintTextReadableOnTheHintColour()
    {
        QFETCH(TColor, hintColor);
        QFETCH(QColor, text);
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::ToolTipBase, QColor(49, 54, 59));
        dark.setColor(QPalette::ToolTipText, kDarkHintText);
        QApplication::setPalette(dark);
        QToolTip::setPalette(dark);
        TAppEvents events;
        events.SetHintColor(hintColor);
        const QPalette hints = QToolTip::palette();
        QApplication::setPalette(before);
        QToolTip::setPalette(before);
        events.SetHintColor(16776176);
        QCOMPARE(hints.color(QPalette::ToolTipText), text);
        QCOMPARE(hints.color(QPalette::WindowText), text);
    }

    void hintShowsAfterThePauseOnlyWhenSwitchedOn()
    {
        QWidget window;
        auto *button = new QWidget(&window);
        button->setToolTip("Connect to port");
        button->setGeometry(10, 10, 80, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(button, {5, 5});
        QTRY_VERIFY(button->underMouse());
        auto requestHint = [button] {
            QHelpEvent help(QEvent::ToolTip, {5, 5}, button->mapToGlobal(QPoint(5, 5)));
            return QApplication::sendEvent(button, &help);
        };

        TAppHints::Instance().SetShowHint(false);
        requestHint();
        QTest::qWait(TAppHints::Instance().Pause() + 100);
        QVERIFY(!QToolTip::isVisible());

        TAppHints::Instance().SetShowHint(true);
        requestHint();
        QVERIFY(!QToolTip::isVisible()); // the rest of the pause is still to come
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("Connect to port"));
        QToolTip::hideText();
    }

    // A hint whose pause runs out while a popup menu is open, or one asked for then, stays away.
    void hintNeverCoversAnOpenPopup()
    {
        QWidget window;
        auto *box = new QWidget(&window);
        box->setToolTip("Right click to save macro.");
        box->setGeometry(10, 10, 80, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(box, {5, 5});
        QTRY_VERIFY(box->underMouse());
        TAppHints &hints = TAppHints::Instance();
        const int pause = hints.Pause();
        hints.SetPause(0);
        auto requestHint = [box] {
            QHelpEvent help(QEvent::ToolTip, {5, 5}, box->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box, &help);
        };
        auto pauseOver = [] {
            bool over = false;
            QTimer::singleShot(50, [&over] { over = true; });
            QTRY_VERIFY(over);
        };

        QMenu menu;
        menu.addAction("Save Macro 1");
        requestHint();
        menu.popup(box->mapToGlobal(QPoint(5, 5)));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        // Under X11 the box is still under the pointer for Qt while the menu is open over it.
        box->setAttribute(Qt::WA_UnderMouse);
        pauseOver();
        QVERIFY(!QToolTip::isVisible());
        requestHint();
        pauseOver();
        QVERIFY(!QToolTip::isVisible());

        menu.close();
        QTest::mouseMove(box, {6, 6});
        QTRY_VERIFY(box->underMouse());
        requestHint();
        QTRY_VERIFY(QToolTip::isVisible());
        QToolTip::hideText();
        hints.SetPause(pause);
    }

private:
    static inline const QColor kDarkHintText{252, 252, 252};
    QStringList m_calls;

    void Simulate(Qt::ApplicationState state)
    {
        TAppEventList::Instance().ApplicationStateChanged(state);
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TAppEventsTest)
#include "tst_appevents.moc"
