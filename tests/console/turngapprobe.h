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
    explicit TTurnGapProbe(QObject *parent = nullptr)
        : QObject(parent)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { Turn(); });
    }

    void Start()
    {
        m_longestMs = 0;
        m_lastTurn = Now();
        m_timer.start(kTickMs);
    }
    void Stop() { m_timer.stop(); }
    double LongestGapMs() const { return m_longestMs; }

private:
    static constexpr int kTickMs = 2;

    struct TStamp
    {
        qint64 wallNs = 0;
        qint64 runQueueNs = 0;
    };

    static TStamp Now()
    {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        return {clock.nsecsElapsed(), RunQueueNs()};
    }

    // The second figure of the thread's scheduler statistics: nanoseconds spent runnable but
    // not running. 0 where the kernel does not keep it, which only makes the probe stricter.
    static qint64 RunQueueNs()
    {
        QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
        if (!stats.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stats.readAll().simplified().split(' ');
        return fields.size() >= 2 ? fields.at(1).toLongLong() : 0;
    }

    void Turn()
    {
        const TStamp now = Now();
        const qint64 gapNs = (now.wallNs - m_lastTurn.wallNs) - (now.runQueueNs - m_lastTurn.runQueueNs);
        m_longestMs = std::max(m_longestMs, double(gapNs) / 1e6);
        m_lastTurn = now;
    }

    QTimer m_timer;
    TStamp m_lastTurn;
    double m_longestMs = 0;
};
