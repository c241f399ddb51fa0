#include "ptydevice.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

TPtyDevice::TPtyDevice(QObject *parent)
    : QObject(parent)
{
}

TPtyDevice::~TPtyDevice()
{
    m_readable.reset();
    m_writable.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool TPtyDevice::Open(QString *error)
{
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    // Raw from the start: an echoing line discipline would hand the board its own output back.
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0
        || ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_readable = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    m_writable = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writable->setEnabled(false);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &TPtyDevice::ReadMaster);
    connect(m_writable.get(), &QSocketNotifier::activated, this, &TPtyDevice::WriteMaster);
    return true;
}

qsizetype TPtyDevice::Send(const QByteArray &bytes)
{
    const qsizetype kept = std::min(bytes.size(), kMaxPending - Pending());
    if (kept <= 0)
        return 0;
    if (m_sent > 0) {
        m_pending.remove(0, m_sent);
        m_sent = 0;
    }
    m_pending.append(bytes.constData(), kept);
    WriteMaster();
    return kept;
}

void TPtyDevice::WriteMaster()
{
    while (Pending() > 0) {
        const ssize_t n = ::write(m_master, m_pending.constData() + m_sent, static_cast<size_t>(Pending()));
        if (n <= 0)
            break;
        m_sent += n;
    }
    if (Pending() == 0) {
        m_pending.clear();
        m_sent = 0;
    }
    m_writable->setEnabled(Pending() > 0);
}

void TPtyDevice::ReadMaster()
{
    char chunk[4096];
    const ssize_t n = ::read(m_master, chunk, sizeof chunk);
    if (n > 0) {
        emit Received(QByteArray(chunk, n));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        // Cannot happen while the slave is held; if it does, stop rather than spin on it.
        m_readable->setEnabled(false);
    }
}
