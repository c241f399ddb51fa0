#pragma once

#include <QObject>

#include <functional>
#include <utility>

// Hands the events of one object to a callback before the object sees them; the callback says
// whether the event is used up. Lives as long as the watched object.
class TEventTap : public QObject
{
public:
    using THandler = std::function<bool(QEvent *event)>;

    TEventTap(QObject *watched, THandler handler)
        : QObject(watched)
        , m_handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override { return m_handler(event); }

private:
    THandler m_handler;
};
