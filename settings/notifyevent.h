#pragma once

#include <functional>

class QObject;

// The event property type the components share: a handler told which object raised the event.
// Empty means unassigned.
using TNotifyEvent = std::function<void(QObject *sender)>;

// Calls event when it is assigned.
inline void Raise(const TNotifyEvent &event, QObject *sender)
{
    if (event)
        event(sender);
}
