#pragma once

#include "readpacing.h"

#include <QElapsedTimer>
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
    // Reads one readiness may make while each fills the buffer; bounds the time the event loop
    // waits on a flood.
    static constexpr int kMaxReadsPerWake = 16;

    struct TRead
    {
        int bytes = 0;
        // The read filled the buffer, so more may be waiting.
        bool more = false;
    };

    explicit TPollScheduler(std::function<TRead()> onPoll, QObject *parent = nullptr);

    void Start(int intervalMs, int descriptor);
    void Stop();
    bool IsRunning() const;

private:
    void OnReadable();
    void ReadAfterHoldOff();
    // Reads while the reads fill the buffer, then waits as the line's pace says; false (and
    // nothing scheduled) when the first read found nothing.
    bool ReadBurst();

    std::function<TRead()> m_onPoll;
    QTimer m_timer;
    QTimer m_holdOff;
    QSocketNotifier m_notifier;
    TReadPacing m_pacing;
    QElapsedTimer m_clock;
    // Counts Starts and Stops, so a poll that restarted or stopped the schedule is not undone.
    unsigned m_generation = 0;
    bool m_watching = false;
};
