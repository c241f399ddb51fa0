#include "pseudoterminal.h"

#include <QDeadlineTimer>

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

// <pty.h> would pull in <termios.h>, which clashes with <asm/termbits.h>.
extern "C" int openpty(int *, int *, char *, const void *, const void *);

TPseudoTerminal::TPseudoTerminal()
{
    int slave = -1;
    char name[256] = {};
    if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0) {
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Raw, so that bytes pass unchanged in both directions.
    termios2 tio{};
    if (ioctl(slave, TCGETS2, &tio) == 0) {
        tio.c_iflag = 0;
        tio.c_oflag = 0;
        tio.c_lflag = 0;
        tio.c_cflag = (tio.c_cflag & ~CSIZE) | CS8 | CREAD | CLOCAL;
        ioctl(slave, TCSETS2, &tio);
    }
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

TPseudoTerminal::~TPseudoTerminal()
{
    CloseMaster();
}

QByteArray TPseudoTerminal::Read(int minBytes, int timeoutMs)
{
    QByteArray data;
    const QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0 && data.size() < minBytes && !deadline.hasExpired()) {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, int(std::min<qint64>(deadline.remainingTime(), 100))) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, n);
    }
    return data;
}

bool TPseudoTerminal::Write(const QByteArray &data)
{
    return m_master >= 0 && ::write(m_master, data.constData(), data.size()) == data.size();
}

unsigned TPseudoTerminal::Rate() const
{
    termios2 tio{};
    if (m_master < 0 || ioctl(m_master, TCGETS2, &tio) != 0)
        return 0;
    return tio.c_ospeed;
}

void TPseudoTerminal::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
