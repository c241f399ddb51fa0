#include "appeventlist.h"
#include "appevents.h"
#include "apphints.h"
#include "nothinghappens.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

// A window with one hinted widget, for the pointer to rest on.
struct THintedWidget {
    QWidget Window;
    QWidget *Widget;

    explicit THintedWidget(const QString &hint)
        : Widget(new QWidget(&Window))
    {
        Widget->setToolTip(hint);
        Widget->setGeometry(10, 10, 80, 25);
    }
    bool ShowUnderPointer()
    {
        Window.show();
        if (!QTest::qWaitForWindowExposed(&Window))
            return false;
        QTest::mouseMove(Widget, {5, 5});
        return QTest::qWaitFor([this] { return Widget->underMouse(); });
    }
    // What Qt sends once the pointer has rested on the widget.
    void RequestHint()
    {
        QHelpEvent help(QEvent::ToolTip, {5, 5}, Widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(Widget, &help);
    }
};

} // namespace

class TstAppEvents : public QObject
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
        THintedWidget button("Connect to port");
        QVERIFY(button.ShowUnderPointer());

        TAppHints::Instance().SetShowHint(false);
        button.RequestHint();
        QVERIFY(NothingHappensWithin(TAppHints::Instance().Pause() + 100, [] { return QToolTip::isVisible(); }));

        TAppHints::Instance().SetShowHint(true);
        button.RequestHint();
        QVERIFY(!QToolTip::isVisible()); // the rest of the pause is still to come
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("Connect to port"));
        QToolTip::hideText();
    }

    // A hint whose pause runs out while a popup menu is open, or one asked for then, stays away.
    void hintNeverCoversAnOpenPopup()
    {
        THintedWidget box("Right click to save macro.");
        QVERIFY(box.ShowUnderPointer());
        TAppHints &hints = TAppHints::Instance();
        const int pause = hints.Pause();
        hints.SetPause(0);
        auto pauseOver = [] {
            bool over = false;
            QTimer::singleShot(50, [&over] { over = true; });
            QTRY_VERIFY(over);
        };

        QMenu menu;
        menu.addAction("Save Macro 1");
        box.RequestHint();
        menu.popup(box.Widget->mapToGlobal(QPoint(5, 5)));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        // Under X11 the box is still under the pointer for Qt while the menu is open over it.
        box.Widget->setAttribute(Qt::WA_UnderMouse);
        pauseOver();
        QVERIFY(!QToolTip::isVisible());
        box.RequestHint();
        pauseOver();
        QVERIFY(!QToolTip::isVisible());

        menu.close();
        QVERIFY(box.ShowUnderPointer());
        box.RequestHint();
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

QTEST_MAIN(TstAppEvents)
#include "tst_appevents.moc"
