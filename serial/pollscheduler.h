#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>

// Calls back on the owner's thread whenever the open port should be read: every intervalMs, or,
// for an interval of 0, as soon as the port's descriptor turns readable (data or hang-up), so an
// idle port costs nothing. Without a descriptor an interval of 0 falls back to a short timer.
class TPollScheduler : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFallbackIntervalMs = 10;

    explicit TPollScheduler(std::function<void()> onPoll, QObject *parent = nullptr);

    void Start(int intervalMs, int descriptor);
    void Stop();
    bool IsRunning() const;

private:
    std::function<void()> m_onPoll;
    QTimer m_timer;
    QSocketNotifier m_notifier;
};
