#include "pseudoterminal.h"

#include "comportmap.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Waits until fd is ready for events or the deadline passes, in slices short enough that a
// closed master is noticed.
void WaitReady(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd entry{fd, events, 0};
    ::poll(&entry, 1, int(std::min<qint64>(deadline.remainingTime(), 100)));
}

bool Retry(ssize_t result)
{
    return result < 0 && (errno == EAGAIN || errno == EINTR);
}

} // namespace

TPseudoTerminal::TPseudoTerminal()
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // A device side that blocked would stall the program's event loop in a window test.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

TPseudoTerminal::TPseudoTerminal(const QString &comName)
    : TPseudoTerminal()
{
    m_home.emplace();
    if (IsValid() && !TComPortMap().Assign(comName, m_slavePath))
        CloseMaster();
}

TPseudoTerminal::~TPseudoTerminal()
{
    CloseMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

QByteArray TPseudoTerminal::Read(int minBytes, int timeoutMs)
{
    QByteArray data;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && data.size() < minBytes && !deadline.hasExpired()) {
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, n);
        else if (Retry(n))
            WaitReady(m_master, POLLIN, deadline);
        else
            break;
    }
    return data;
}

bool TPseudoTerminal::Write(const QByteArray &data, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    qsizetype done = 0;
    while (m_master >= 0 && done < data.size()) {
        const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (Retry(n) && !deadline.hasExpired())
            WaitReady(m_master, POLLOUT, deadline);
        else
            return false;
    }
    return m_master >= 0 && done == data.size();
}

int TPseudoTerminal::InputWaiting() const
{
    int waiting = 0;
    return ::ioctl(m_slave, FIONREAD, &waiting) == 0 ? waiting : -1;
}

bool TPseudoTerminal::WaitForInput(int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    // The slave's queue signals readiness at the first byte, not at count, so look again and again.
    while (InputWaiting() < count) {
        if (deadline.hasExpired())
            return false;
        ::poll(nullptr, 0, 1);
    }
    return true;
}

TtyIoctl::TTtySettings TPseudoTerminal::Settings() const
{
    TtyIoctl::TTtySettings settings;
    TtyIoctl::ReadSettings(m_slave, settings);
    return settings;
}

bool TPseudoTerminal::TranslateEverything()
{
    termios t{};
    if (::tcgetattr(m_slave, &t) != 0)
        return false;
    // IGNCR stays off: it would hide what ICRNL does to a carriage return.
    t.c_iflag |= ICRNL | INLCR | IUCLC | ISTRIP | IXON | IXANY | IMAXBEL;
    t.c_oflag |= OPOST | ONLCR | OCRNL | OLCUC | XTABS;
    t.c_lflag |= ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ICANON | ISIG | IEXTEN;
    return ::tcsetattr(m_slave, TCSANOW, &t) == 0;
}

void TPseudoTerminal::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
