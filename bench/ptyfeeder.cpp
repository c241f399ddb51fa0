#include "ptyfeeder.h"

#include <chrono>

#include <fcntl.h>
#include <pthread.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

double ThreadCpu()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void WriteAll(int fd, const char *data, qsizetype size, std::atomic<long long> &sent)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            pollfd wait{fd, POLLOUT, 0};
            if (errno != EAGAIN || ::poll(&wait, 1, 1000) < 0)
                return;
            continue;
        }
        data += written;
        size -= written;
        sent += written;
    }
}

} // namespace

TPtyFeeder::TPtyFeeder()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    // Keeping a slave descriptor open stops a hang-up between the receiver's opens.
    m_slaveKeep = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

TPtyFeeder::~TPtyFeeder()
{
    Wait();
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
    if (m_master >= 0)
        ::close(m_master);
}

void TPtyFeeder::Start(const QByteArray &payload, double bytesPerSecond)
{
    m_sent = 0;
    m_thread = std::thread(&TPtyFeeder::Run, this, payload, bytesPerSecond);
}

void TPtyFeeder::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void TPtyFeeder::Run(QByteArray payload, double bytesPerSecond)
{
    pthread_setname_np(pthread_self(), "pty feeder");
    const double cpuStart = ThreadCpu();
    if (bytesPerSecond <= 0) {
        WriteAll(m_master, payload.constData(), payload.size(), m_sent);
    } else {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        qsizetype offset = 0;
        for (int slice = 1; offset < payload.size(); ++slice) {
            const auto due = qsizetype(bytesPerSecond * slice / 1000.0);
            const qsizetype piece = std::min(payload.size(), due) - offset;
            WriteAll(m_master, payload.constData() + offset, piece, m_sent);
            offset += piece;
            std::this_thread::sleep_until(start + std::chrono::milliseconds(slice));
        }
    }
    m_cpuSeconds = ThreadCpu() - cpuStart;
}
