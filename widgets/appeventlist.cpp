#include "appeventlist.h"

#include "appevents.h"

#include <QGuiApplication>

#include <algorithm>

namespace {
QPointer<TAppEventList> g_instance;
}

TAppEventList &TAppEventList::Instance()
{
    if (!g_instance)
        g_instance = new TAppEventList(QCoreApplication::instance());
    return *g_instance;
}

TAppEventList *TAppEventList::Existing()
{
    return g_instance;
}

TAppEventList::TAppEventList(QObject *parent)
    : QObject(parent)
{
    if (qobject_cast<QGuiApplication *>(parent)) {
        m_active = QGuiApplication::applicationState() == Qt::ApplicationActive;
        m_wantActive = m_active;
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                &TAppEventList::ApplicationStateChanged);
    }
}

void TAppEventList::Register(TAppEvents *events)
{
    m_instances.emplace_back(events);
}

void TAppEventList::Unregister(TAppEvents *events)
{
    std::erase_if(m_instances, [events](const QPointer<TAppEvents> &p) { return !p || p == events; });
}

void TAppEventList::ApplicationStateChanged(Qt::ApplicationState state)
{
    m_wantActive = state == Qt::ApplicationActive;
    if (m_posted)
        return;
    m_posted = true;
    QMetaObject::invokeMethod(this, &TAppEventList::Deliver, Qt::QueuedConnection);
}

void TAppEventList::Deliver()
{
    m_posted = false;
    if (m_wantActive == m_active)
        return;
    m_active = m_wantActive;
    if (!m_instances.empty())
        Dispatch(m_active);
}

void TAppEventList::Dispatch(bool activate)
{
    QObject *sender = QCoreApplication::instance();
    // A handler may destroy instances; walk a copy and skip the dead.
    const auto instances = m_instances;
    for (auto it = instances.rbegin(); it != instances.rend(); ++it) {
        if (!*it)
            continue;
        Raise(activate ? (*it)->OnActivate : (*it)->OnDeactivate, sender);
        if (*it && !(*it)->Chained())
            return;
    }
    Raise(activate ? PreviousOnActivate : PreviousOnDeactivate, sender);
}
