#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <algorithm>

// Measures the longest time the thread's event loop went without a turn, leaving out the time the
// thread was ready but waited for a processor: on a machine shared with busy neighbours that wait
// says nothing about the program.
class TTurnGapProbe : public QObject
{
public:
    TTurnGapProbe()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        connect(&m_tick, &QTimer::timeout, this, [this] {
            const qint64 last = m_lastTurnNs;
            m_lastTurnNs = OwnTimeNs();
            m_longestMs = std::max(m_longestMs, double(m_lastTurnNs - last) / 1e6);
        });
    }

    void Start()
    {
        m_clock.start();
        m_longestMs = 0;
        m_lastTurnNs = OwnTimeNs();
        m_tick.start(2);
    }
    void Stop() { m_tick.stop(); }
    double LongestGapMs() const { return m_longestMs; }

private:
    // Wall time less the second figure of the thread's scheduler statistics, the nanoseconds it
    // spent runnable but not running (none where the kernel does not keep it: a stricter probe).
    qint64 OwnTimeNs() const
    {
        QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
        const QList<QByteArray> fields =
            stats.open(QIODevice::ReadOnly) ? stats.readAll().simplified().split(' ') : QList<QByteArray>();
        return m_clock.nsecsElapsed() - (fields.size() >= 2 ? fields.at(1).toLongLong() : 0);
    }

    QElapsedTimer m_clock;
    QTimer m_tick;
    qint64 m_lastTurnNs = 0;
    double m_longestMs = 0;
};
