#include "hotkeymanager.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace {

// The managers of the process, in the order of their creation, and the one key filter they share.
// It exists only while at least one manager exists.
class TManagersList : public QObject
{
public:
    ~TManagersList() override { SetHook(false); }

    void AddManager(THotKeyManager *manager)
    {
        m_managers.append(manager);
        UpdateHook(false);
    }
    void RemoveManager(THotKeyManager *manager)
    {
        m_managers.removeOne(manager);
        UpdateHook(false);
    }
    bool IsEmpty() const { return m_managers.isEmpty(); }
    bool Hooked() const { return !m_hookedApp.isNull(); }

    // force: keep the filter whatever the managers say.
    void UpdateHook(bool force)
    {
        SetHook(force || std::any_of(m_managers.cbegin(), m_managers.cend(), [](const THotKeyManager *m) {
                    return m->Enabled() && (m->OnKeyDown || m->OnKeyUp);
                }));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetHook(bool on);
    static bool Dispatch(const QList<QPointer<THotKeyManager>> &managers, const QKeyEvent &event);

    QList<THotKeyManager *> m_managers;
    QPointer<QCoreApplication> m_hookedApp;
};

TManagersList *g_managers = nullptr;

void TManagersList::SetHook(bool on)
{
    if (on == Hooked())
        return;
    if (on) {
        m_hookedApp = QCoreApplication::instance();
        if (m_hookedApp)
            m_hookedApp->installEventFilter(this);
    } else {
        m_hookedApp->removeEventFilter(this);
        m_hookedApp.clear();
    }
}

bool TManagersList::eventFilter(QObject *watched, QEvent *event)
{
    // A keystroke reaches its top-level window once, before any widget and before the
    // propagation to parent widgets that would show it to the filter again.
    if (!watched->isWindowType() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const QList<QPointer<THotKeyManager>> managers(m_managers.cbegin(), m_managers.cend());
    // Handlers may destroy the last manager and with it this list: nothing below touches it.
    return Dispatch(managers, *static_cast<QKeyEvent *>(event));
}

// Returns whether the keystroke is swallowed.
bool TManagersList::Dispatch(const QList<QPointer<THotKeyManager>> &managers, const QKeyEvent &event)
{
    const bool release = event.type() == QEvent::KeyRelease;
    // X11 sends an auto-repeating key as release and press pairs; only the final release counts.
    if (release && event.isAutoRepeat())
        return false;
    std::uint16_t key = VirtualKeyFromQt(event.key(), event.modifiers());
    if (key == 0)
        return false;
    const TShiftState shift = ShiftStateFromQt(event.modifiers());
    for (const QPointer<THotKeyManager> &manager : managers) {
        if (!manager || !manager->TakesPart())
            continue;
        // A copy, so that a handler may reassign or destroy what it was called through.
        const TKeyEvent handler = release ? manager->OnKeyUp : manager->OnKeyDown;
        if (handler)
            handler(manager, key, shift);
    }
    return key == 0;
}

QWidget *ActiveForm()
{
    // The modal dialog first: the window system may not yet have told us that it took the focus.
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

THotKeyManager::THotKeyManager(QObject *owner)
    : QObject(owner)
{
    if (!g_managers)
        g_managers = new TManagersList;
    g_managers->AddManager(this);
}

THotKeyManager::~THotKeyManager()
{
    g_managers->RemoveManager(this);
    if (g_managers->IsEmpty()) {
        delete g_managers;
        g_managers = nullptr;
    }
}

void THotKeyManager::Loaded()
{
    g_managers->UpdateHook(m_enabled);
}

void THotKeyManager::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
    g_managers->UpdateHook(value);
}

bool THotKeyManager::HookInstalled()
{
    return g_managers && g_managers->Hooked();
}

bool THotKeyManager::TakesPart() const
{
    if (!m_enabled)
        return false;
    if (m_appGlobal)
        return true;
    const auto *owner = qobject_cast<const QWidget *>(parent());
    const QWidget *form = ActiveForm();
    return owner && form && owner->window() == form;
}
