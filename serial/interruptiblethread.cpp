#include "interruptiblethread.h"

#include <chrono>
#include <mutex>

#include <pthread.h>
#include <signal.h>

namespace {

// Not one the program catches (the termination signals, SIGPIPE, SIGXFSZ) and ignored by default,
// so a stray one harms nobody; a classic signal also never queues up while Stop repeats it.
constexpr int kWakeSignal = SIGURG;
// How long Stop trusts a signal before it sends the next.
constexpr auto kResendInterval = std::chrono::milliseconds(5);

void Nothing(int) {}

void InstallWakeHandler()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action = {};
        action.sa_handler = Nothing;
        sigemptyset(&action.sa_mask);
        // No SA_RESTART: the interrupted call must return EINTR instead of waiting on.
        action.sa_flags = 0;
        ::sigaction(kWakeSignal, &action, nullptr);
    });
}

} // namespace

TInterruptibleThread::~TInterruptibleThread()
{
    Stop();
}

void TInterruptibleThread::Start(TBody body)
{
    if (IsRunning())
        return;
    InstallWakeHandler();
    m_stop = false;
    m_ended = false;
    m_thread = std::thread([this, body = std::move(body)] { Run(body); });
}

void TInterruptibleThread::Run(const TBody &body)
{
    // The thread inherits its creator's mask, which may block the signal.
    sigset_t wake;
    sigemptyset(&wake);
    sigaddset(&wake, kWakeSignal);
    ::pthread_sigmask(SIG_UNBLOCK, &wake, nullptr);
    body(m_stop);
    const std::lock_guard lock(m_lock);
    m_ended = true;
    m_endedChanged.notify_all();
}

void TInterruptibleThread::Stop()
{
    if (!IsRunning())
        return;
    m_stop = true;
    {
        // A signal that lands after the body last looked at the stop request but before it entered
        // its call is spent on nothing, and the call then blocks: send it again until the body ends.
        std::unique_lock lock(m_lock);
        while (!m_ended) {
            ::pthread_kill(m_thread.native_handle(), kWakeSignal);
            m_endedChanged.wait_for(lock, kResendInterval);
        }
    }
    m_thread.join();
}
