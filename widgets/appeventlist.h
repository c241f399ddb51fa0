#pragma once

#include "notifyevent.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class TAppEvents;

// The one dispatcher that turns the application's activation changes into the OnActivate and
// OnDeactivate events of every registered TAppEvents, newest first.
class TAppEventList : public QObject
{
    Q_OBJECT
public:

    /// The process's dispatcher, created on first use; it lives as long as the application object.
    static TAppEventList &Instance();
    /// The dispatcher if it still exists; nullptr once the application object has gone.
    static TAppEventList *Existing();

    void Register(TAppEvents *events);
    void Unregister(TAppEvents *events);
    int Count() const { return int(m_instances.size()); }

    /// What the platform reports; the events follow later from the event loop, once per real change,
    /// so that a flicker between two of the program's own windows raises nothing. Tests call this to
    /// simulate switching to another program and back.
    void ApplicationStateChanged(Qt::ApplicationState state);
    bool IsActive() const { return m_active; }

    /// Handlers the application had before any TAppEvents existed; called after the instances.
    TNotifyEvent PreviousOnActivate;
    TNotifyEvent PreviousOnDeactivate;

private:
    explicit TAppEventList(QObject *parent);
    void Deliver();
    void Dispatch(bool activate);

    std::vector<QPointer<TAppEvents>> m_instances;
    bool m_active = false;
    bool m_wantActive = false;
    bool m_posted = false;
};
