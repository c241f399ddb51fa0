#pragma once

#include "serialplatform.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// Follows the modem input lines of an open port by reading them every kIntervalMs while it runs,
// and tells the owner when they change. A port without modem lines is told once and not read
// again. (A thread blocked in TIOCMIWAIT would cost no wake-ups, but many USB adapters do not
// support it, it misses the rising edge of RI, and it can only be ended by a signal.)
class TModemLineWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;

    // read: the lines now, or nothing where the port has none. Called on this object's thread.
    explicit TModemLineWatch(std::function<std::optional<TModemInputs>()> read, QObject *parent = nullptr);

    // Reads at once and reports, then follows the lines.
    void Start();
    void Stop();
    bool IsRunning() const { return m_timer.isActive(); }

    // Called with nothing when the port has no modem lines.
    std::function<void(std::optional<TModemInputs>)> OnChange;

private:
    // report: tell the owner even when nothing changed.
    void Read(bool report);

    std::function<std::optional<TModemInputs>()> m_read;
    QTimer m_timer;
    std::optional<TModemInputs> m_last;
};
