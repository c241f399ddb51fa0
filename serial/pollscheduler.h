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
    // After a read that emptied the port, readiness is ignored this long, so a trickle of bytes
    // wakes the program a few hundred times a second rather than once per burst; well under a
    // frame, so nothing shows later.
    static constexpr int kHoldOffMs = 3;

    // onPoll reads once and returns true when more bytes may be waiting (the read filled the
    // buffer); only then is the descriptor watched again at once.
    explicit TPollScheduler(std::function<bool()> onPoll, QObject *parent = nullptr);

    void Start(int intervalMs, int descriptor);
    void Stop();
    bool IsRunning() const;

private:
    void OnReadable();

    std::function<bool()> m_onPoll;
    QTimer m_timer;
    QTimer m_holdOff;
    QSocketNotifier m_notifier;
    // Counts Starts and Stops, so a poll that restarted or stopped the schedule is not undone.
    unsigned m_generation = 0;
    bool m_watching = false;
};
