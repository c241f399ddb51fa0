#pragma once

#include "interruptiblethread.h"
#include "serialplatform.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// Follows the modem input lines of an open port and tells the owner when they change. A thread
// asleep in the kernel until a line changes costs next to nothing while the lines stand still,
// where reading them every kIntervalMs wakes the program twenty times a second; so the watch
// waits on its own thread where the port can, and reads on the timer only where the port cannot
// report changes (many USB adapters). A port without modem lines is told once and not read again.
class TModemLineWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;

    // read: the lines now, or nothing where the port has none; called on this object's thread.
    // port: the open port for the waiting thread, asked at every Start; without it, or with no
    // handle, the watch reads on the timer.
    explicit TModemLineWatch(std::function<std::optional<TModemInputs>()> read,
                             std::function<TModemLinePort()> port = {}, QObject *parent = nullptr);
    ~TModemLineWatch() override;

    // Reads at once and reports, then follows the lines.
    void Start();
    // Returns once the port is no longer used: the port may be closed right after.
    void Stop();
    bool IsRunning() const { return m_running; }
    // Running on the timer: the port cannot report changes.
    bool IsPolling() const { return m_timer.isActive(); }

    // Called on this object's thread, with nothing when the port has no modem lines.
    std::function<void(std::optional<TModemInputs>)> OnChange;

private:
    // report: tell the owner even when nothing changed.
    void Read(bool report);
    void Report(std::optional<TModemInputs> lines, bool report);
    // The waiting thread's loop.
    void Follow(TModemLinePort port, unsigned session, const std::atomic<bool> &stop);
    // Runs action on this object's thread unless the watch has stopped or started again since.
    void Post(unsigned session, std::function<void()> action);
    void PollInstead();

    std::function<std::optional<TModemInputs>()> m_read;
    std::function<TModemLinePort()> m_port;
    QTimer m_timer;
    TInterruptibleThread m_waiter;
    bool m_running = false;
    unsigned m_session = 0;
    std::optional<TModemInputs> m_last;
};
