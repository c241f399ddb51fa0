#include "ptyport.h"

#include "comportmap.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

TPtyPort::TPtyPort(const QString &comName)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Without the map entry the name would reach a real port.
    if (!TComPortMap().Assign(comName, m_slavePath))
        HangUp();
}

TPtyPort::~TPtyPort()
{
    HangUp();
    if (m_slave >= 0)
        ::close(m_slave);
}

bool TPtyPort::Send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray TPtyPort::Receive(int count, int timeoutMs)
{
    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    char chunk[4096];
    while (received.size() < count && clock.elapsed() < timeoutMs) {
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0)
            break;
        received.append(chunk, n);
    }
    return received;
}

int TPtyPort::InputWaiting() const
{
    int waiting = 0;
    return ::ioctl(m_slave, FIONREAD, &waiting) == 0 ? waiting : -1;
}

bool TPtyPort::WaitForInput(int count, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (InputWaiting() < count) {
        if (clock.elapsed() > timeoutMs)
            return false;
        ::poll(nullptr, 0, 1);
    }
    return true;
}

TtyIoctl::TTtySettings TPtyPort::Settings() const
{
    TtyIoctl::TTtySettings settings;
    TtyIoctl::ReadSettings(m_slave, settings);
    return settings;
}

void TPtyPort::HangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
