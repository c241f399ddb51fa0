#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>

// Calls back once, on the owner's thread, when a port that refused bytes is worth offering them
// again: as soon as its descriptor turns writable, and at the latest after a short pause, because
// not every port wakes a writer when room appears (a pseudo-terminal does so only once its far end
// has read nearly all it holds; a queue full by the driver's own count never does).
class TWritableWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRecheckMs = 10;

    explicit TWritableWatch(std::function<void()> onWritable, QObject *parent = nullptr);

    // descriptor < 0: the pause alone. A running watch starts over.
    void Start(int descriptor);
    // Calls back at the next turn of the event loop instead of waiting any longer.
    void FireSoon();
    void Stop();
    bool IsRunning() const;

private:
    void Fire();

    std::function<void()> m_onWritable;
    QTimer m_recheck;
    QSocketNotifier m_notifier;
};
