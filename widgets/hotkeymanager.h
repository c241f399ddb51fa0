#pragma once

#include "virtualkeys.h"

#include <QObject>

#include <cstdint>
#include <functional>

// Key is the virtual-key code, passed by reference: a handler that sets it to 0 swallows the
// keystroke, so that the focused control never sees it.
using TKeyEvent = std::function<void(QObject *Sender, std::uint16_t &Key, TShiftState Shift)>;

// Reports the key presses (auto-repeats included) and releases of the user-interface thread
// before the focused control sees them, whichever control of the window has the focus.
//
// All managers of the process share one application-wide key filter, installed only while some
// manager needs it. A manager with AppGlobal false reports keys only while its owner is the
// application's active window; an open modal dialog is the active window. Keys that have no
// virtual-key code are passed on unreported. Handlers run inside the key dispatch and must not
// throw; they may create and destroy managers, their own included.
//
// Create, use and destroy managers on the user-interface thread only.
class THotKeyManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool AppGlobal READ AppGlobal WRITE SetAppGlobal)
public:
    // owner: normally the window whose keys the manager reports; it owns the manager.
    explicit THotKeyManager(QObject *owner = nullptr);
    ~THotKeyManager() override;

    // The owner calls this once it has set the manager's properties and handlers; an enabled
    // manager installs the key filter from then on, even with no handler assigned.
    void Loaded();

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    bool AppGlobal() const { return m_appGlobal; }
    void SetAppGlobal(bool value) { m_appGlobal = value; }

    // Whether the shared key filter is installed now.
    static bool HookInstalled();

    // Assigning these does not install the filter: Loaded or SetEnabled does.
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // Whether this manager reports the keystroke that is being dispatched now.
    bool TakesPart() const;

private:
    bool m_enabled = true;
    bool m_appGlobal = false;
};
