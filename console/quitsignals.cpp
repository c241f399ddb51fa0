#include "quitsignals.h"

#include <QSocketNotifier>

#include <atomic>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

void WriteNumber(int signalNumber)
{
    const int savedErrno = errno;
    const char number = char(signalNumber);
    // Non-blocking: should the pair ever fill up, the signal is dropped, never the handler stuck.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd.load(), &number, 1);
    errno = savedErrno;
}

} // namespace

TQuitSignals::TQuitSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(g_writeEnd.load() < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_sockets) != 0) {
        qWarning("Termination signals end the program at once: no socket pair (%s)", strerror(errno));
        return;
    }
    g_writeEnd.store(m_sockets[0]);
    auto *notifier = new QSocketNotifier(m_sockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TQuitSignals::ReadPending);

    struct sigaction action = {};
    action.sa_handler = WriteNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kNumbers.size(); ++i) {
        ::sigaction(kNumbers[i], nullptr, &m_previous[i]);
        m_caught[i] = m_previous[i].sa_handler != SIG_IGN;
        if (m_caught[i])
            ::sigaction(kNumbers[i], &action, nullptr);
    }
}

TQuitSignals::~TQuitSignals()
{
    for (std::size_t i = 0; i < kNumbers.size(); ++i) {
        if (m_caught[i])
            ::sigaction(kNumbers[i], &m_previous[i], nullptr);
    }
    g_writeEnd.store(-1);
    for (const int socket : m_sockets) {
        if (socket >= 0)
            ::close(socket);
    }
}

void TQuitSignals::ReadPending()
{
    char numbers[16];
    ssize_t count;
    while ((count = ::read(m_sockets[1], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit Received(numbers[i]);
    }
}
