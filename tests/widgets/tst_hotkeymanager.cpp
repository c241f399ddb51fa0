#include "hotkeymanager.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

struct TKeyCall
{
    QObject *sender;
    int key;
    TShiftState shift;
    bool up;
    bool operator==(const TKeyCall &) const = default;
};

// Records every call of a manager's handlers; swallowKey names a key its key-down handler zeroes.
struct TRecorder
{
    QList<TKeyCall> calls;
    int swallowKey = -1;

    void Attach(THotKeyManager &manager)
    {
        manager.OnKeyDown = [this](QObject *sender, std::uint16_t &key, TShiftState shift) {
            calls.append({sender, key, shift, false});
            if (key == swallowKey)
                key = 0;
        };
        manager.OnKeyUp = [this](QObject *sender, std::uint16_t &key, TShiftState shift) {
            calls.append({sender, key, shift, true});
        };
    }
    int Downs() const { return int(std::count_if(calls.cbegin(), calls.cend(), [](const TKeyCall &c) { return !c.up; })); }
    int Ups() const { return int(calls.size()) - Downs(); }
};

// A top-level window with a line edit that has the focus, shown and active.
struct TForm
{
    QWidget window;
    QLineEdit *edit = new QLineEdit(&window);

    bool ShowActive()
    {
        (new QVBoxLayout(&window))->addWidget(edit);
        window.show();
        window.activateWindow();
        edit->setFocus();
        return QTest::qWaitForWindowActive(&window);
    }
    QWindow *Handle() const { return window.windowHandle(); }
    THotKeyManager *AddManager(TRecorder &recorder)
    {
        auto *manager = new THotKeyManager(&window);
        recorder.Attach(*manager);
        return manager;
    }
};

void TypeText(QWindow *window, const char *text)
{
    for (; *text; ++text)
        QTest::keyClick(window, *text);
}

void SendKey(QWindow *window, QEvent::Type type, int key, bool autoRepeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(window, &event);
}

} // namespace

class TstHotKeyManager : public QObject
{
    Q_OBJECT
private slots:
    void hookFollowsEnabledManagersWithHandlers()
    {
        QVERIFY(!THotKeyManager::HookInstalled());
        THotKeyManager first;
        QVERIFY(!THotKeyManager::HookInstalled());
        TRecorder recorder;
        recorder.Attach(first);
        QVERIFY2(!THotKeyManager::HookInstalled(), "assigning a handler does not install the hook");
        first.Loaded();
        QVERIFY(THotKeyManager::HookInstalled());
        first.SetEnabled(false);
        QVERIFY(!THotKeyManager::HookInstalled());
        first.SetEnabled(true);
        QVERIFY(THotKeyManager::HookInstalled());

        {
            THotKeyManager second;
            recorder.Attach(second);
            second.Loaded();
            first.SetEnabled(false);
            QVERIFY2(THotKeyManager::HookInstalled(), "the other enabled manager still has handlers");
            second.SetEnabled(false);
            QVERIFY(!THotKeyManager::HookInstalled());
            second.SetEnabled(true);
            QVERIFY(THotKeyManager::HookInstalled());
        }
        QVERIFY2(!THotKeyManager::HookInstalled(), "the remaining manager is disabled");
    }

    void loadedInstallsHookEvenWithoutHandler()
    {
        THotKeyManager bare;
        bare.Loaded();
        QVERIFY(THotKeyManager::HookInstalled());
        bare.SetEnabled(true);
        QVERIFY2(THotKeyManager::HookInstalled(), "setting the same value changes nothing");
        {
            THotKeyManager other;
            QVERIFY2(!THotKeyManager::HookInstalled(), "joining the list re-evaluates: nobody has a handler");
        }
        THotKeyManager disabled;
        disabled.SetEnabled(false);
        disabled.Loaded();
        QVERIFY(!THotKeyManager::HookInstalled());
    }

    void lastManagerGoneRemovesHook()
    {
        auto manager = std::make_unique<THotKeyManager>();
        manager->SetEnabled(false);
        manager->SetEnabled(true);
        QVERIFY(THotKeyManager::HookInstalled());
        manager.reset();
        QVERIFY(!THotKeyManager::HookInstalled());

        auto *owner = new QObject;
        new THotKeyManager(owner);
        owner->findChild<THotKeyManager *>()->Loaded();
        QVERIFY(THotKeyManager::HookInstalled());
        delete owner;
        QVERIFY2(!THotKeyManager::HookInstalled(), "the owner destroys its manager");
    }

    void keysReportedWithCodeAndModifiers_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("vk");
        QTest::addColumn<TShiftState>("shift");

        QTest::newRow("F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers() << 0x70 << TShiftState();
        QTest::newRow("Shift+F1") << int(Qt::Key_F1) << QFlags(Qt::ShiftModifier) << 0x70 << TShiftState(ssShift);
        QTest::newRow("Ctrl+F4") << int(Qt::Key_F4) << QFlags(Qt::ControlModifier) << 0x73 << TShiftState(ssCtrl);
        QTest::newRow("Alt+Del") << int(Qt::Key_Delete) << QFlags(Qt::AltModifier) << 0x2E << TShiftState(ssAlt);
        QTest::newRow("Ctrl+Shift+A") << int(Qt::Key_A) << (Qt::ControlModifier | Qt::ShiftModifier) << 0x41
                                      << (ssCtrl | ssShift);
    }

    void keysReportedWithCodeAndModifiers()
    {
        QFETCH(int, qtKey);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, vk);
        QFETCH(TShiftState, shift);

        TForm form;
        TRecorder recorder;
        auto *manager = form.AddManager(recorder);
        manager->Loaded();
        QVERIFY(form.ShowActive());

        QTest::keyClick(form.Handle(), Qt::Key(qtKey), modifiers);
        // The modifier keys are keystrokes of their own and are reported as well.
        QList<TKeyCall> calls;
        std::copy_if(recorder.calls.cbegin(), recorder.calls.cend(), std::back_inserter(calls),
                     [vk](const TKeyCall &call) { return call.key == vk; });
        const QList<TKeyCall> expected{{manager, vk, shift, false}, {manager, vk, shift, true}};
        QCOMPARE(calls, expected);
    }

    void onlyZeroedKeysAreKeptFromTheControl()
    {
        TForm form;
        TRecorder recorder;
        auto *manager = form.AddManager(recorder);
        recorder.swallowKey = 0x58;   // X
        manager->Loaded();
        QVERIFY(form.ShowActive());

        TypeText(form.Handle(), "axb");
        QCOMPARE(form.edit->text(), "ab");
        QCOMPARE(recorder.Downs(), 3);
        QCOMPARE(recorder.Ups(), 3);
    }

    void everyManagerCalledAfterSwallow()
    {
        TForm form;
        TRecorder swallower, witness;
        swallower.swallowKey = 0x70;
        form.AddManager(swallower)->Loaded();
        form.AddManager(witness);
        QVERIFY(form.ShowActive());

        QTest::keyPress(form.Handle(), Qt::Key_F1);
        QCOMPARE(swallower.calls.size(), 1);
        QCOMPARE(witness.calls.size(), 1);
        QCOMPARE(witness.calls.first().key, 0);
    }

    void disabledManagerSkipped()
    {
        TForm form;
        TRecorder reported, skipped;
        form.AddManager(reported)->Loaded();
        form.AddManager(skipped)->SetEnabled(false);
        QVERIFY(THotKeyManager::HookInstalled());
        QVERIFY(form.ShowActive());

        QTest::keyClick(form.Handle(), Qt::Key_F2);
        QCOMPARE(reported.calls.size(), 2);
        QVERIFY(skipped.calls.isEmpty());
    }

    void onlyActiveFormsManagerReports()
    {
        TForm inactive, active;
        TRecorder localCalls, globalCalls, activeCalls;
        inactive.AddManager(localCalls)->Loaded();
        inactive.AddManager(globalCalls)->SetAppGlobal(true);
        active.AddManager(activeCalls);
        QVERIFY(inactive.ShowActive());
        QVERIFY(active.ShowActive());

        QTest::keyClick(active.Handle(), Qt::Key_F3);
        QVERIFY(localCalls.calls.isEmpty());
        QCOMPARE(globalCalls.calls.size(), 2);
        QCOMPARE(activeCalls.calls.size(), 2);
    }

    void modalDialogBlocksManagersOfOtherForms()
    {
        TForm form;
        TRecorder localCalls, globalCalls;
        form.AddManager(localCalls)->Loaded();
        form.AddManager(globalCalls)->SetAppGlobal(true);
        QVERIFY(form.ShowActive());

        QDialog dialog(&form.window);
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
        QVERIFY(localCalls.calls.isEmpty());
        QCOMPARE(globalCalls.calls.size(), 2);

        dialog.close();
        form.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        QTest::keyClick(form.Handle(), Qt::Key_F1);
        QCOMPARE(localCalls.calls.size(), 2);
    }

    void autoRepeatReportsEachPressAndOneRelease()
    {
        TForm form;
        TRecorder recorder;
        auto *manager = form.AddManager(recorder);
        manager->Loaded();
        QVERIFY(form.ShowActive());

        // As X11 delivers a held key: a press, then release and press pairs marked as repeats.
        SendKey(form.Handle(), QEvent::KeyPress, Qt::Key_F1, false);
        for (int i = 0; i < 3; ++i) {
            SendKey(form.Handle(), QEvent::KeyRelease, Qt::Key_F1, true);
            SendKey(form.Handle(), QEvent::KeyPress, Qt::Key_F1, true);
        }
        SendKey(form.Handle(), QEvent::KeyRelease, Qt::Key_F1, false);
        QCOMPARE(recorder.Downs(), 4);
        QCOMPARE(recorder.Ups(), 1);
    }

    void handlerMayDestroyLastManager()
    {
        TForm form;
        auto *manager = new THotKeyManager(&form.window);
        manager->OnKeyDown = [manager](QObject *, std::uint16_t &key, TShiftState) {
            delete manager;
            key = 0;
        };
        manager->Loaded();
        QVERIFY(form.ShowActive());

        QTest::keyPress(form.Handle(), Qt::Key_Q);
        QVERIFY(!THotKeyManager::HookInstalled());
        QVERIFY(form.edit->text().isEmpty());
        QTest::keyClick(form.Handle(), Qt::Key_W);
        QCOMPARE(form.edit->text(), "w");
    }
};

QTEST_MAIN(TstHotKeyManager)
#include "tst_hotkeymanager.moc"
