#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A thread that spends its life in blocking system calls which nothing but a signal can end (an
// ioctl that waits for a line change has no time-out and no descriptor to poll). Stop interrupts
// the call with a signal whose handler does nothing, so the call fails with EINTR and the body
// sees the stop request.
class TInterruptibleThread
{
public:
    // The body runs on the new thread until it returns; it must return soon after stop reads true
    // and treat EINTR as "look at stop again".
    using TBody = std::function<void(const std::atomic<bool> &stop)>;

    TInterruptibleThread() = default;
    ~TInterruptibleThread();
    TInterruptibleThread(const TInterruptibleThread &) = delete;
    TInterruptibleThread &operator=(const TInterruptibleThread &) = delete;

    // Not while running.
    void Start(TBody body);
    // Returns once the body has ended; nothing when not running.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

private:
    void Run(const TBody &body);

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::condition_variable m_endedChanged;
    bool m_ended = false;
};
