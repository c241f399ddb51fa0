// The only file that sees the kernel's termios2: <asm/termbits.h> and the C library's <termios.h>
// declare the same names differently, so <termios.h> must stay out of here.
#include "ttyioctl.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <limits>

namespace TtyIoctl {
namespace {

int Call(int fd, unsigned long request, void *argument)
{
    return ::ioctl(fd, request, argument) == 0 ? 0 : errno;
}

bool CharacterFormat(const TLineState &state, tcflag_t &flags)
{
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    // none, odd, even, mark, space; stick parity sends the PARODD sense as a fixed bit
    static constexpr tcflag_t kParities[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD, PARENB | CMSPAR};
    if (state.ByteSize < 5 || state.ByteSize > 8 || state.Parity > 4 || state.StopBits > 2)
        return false;
    flags = kSizes[state.ByteSize - 5] | kParities[state.Parity];
    // Linux has no 1.5 stop bits; CSTOPB gives 1.5 with 5 data bits on a 16550 and 2 otherwise.
    if (state.StopBits != 0)
        flags |= CSTOPB;
    return true;
}

void MakeRaw(termios2 &t)
{
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK | IGNPAR);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

} // namespace

int ApplyLineState(int fd, const TLineState &state)
{
    tcflag_t format = 0;
    // A rate of 0 would hang the line up.
    if (!CharacterFormat(state, format) || state.BaudRate == 0
        || state.BaudRate > std::numeric_limits<std::int32_t>::max())
        return EINVAL;
    termios2 t{};
    if (const int error = Call(fd, TCGETS2, &t))
        return error;
    MakeRaw(t);
    if (state.fParity)
        t.c_iflag |= INPCK;
    if (state.fOutX)
        t.c_iflag |= IXON;
    if (state.fInX)
        t.c_iflag |= IXOFF;
    t.c_cflag &= ~(CBAUD | CIBAUD | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    // HUPCL stays on: the modem lines drop when the port is closed.
    t.c_cflag |= format | CLOCAL | CREAD | HUPCL | BOTHER | (BOTHER << IBSHIFT);
    if (state.fOutxCtsFlow || state.fRtsControl == 2)
        t.c_cflag |= CRTSCTS;
    t.c_ispeed = state.BaudRate;
    t.c_ospeed = state.BaudRate;
    t.c_cc[VSTART] = static_cast<cc_t>(state.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(state.XoffChar);
    return Call(fd, TCSETS2, &t);
}

int ReadSettings(int fd, TTtySettings &settings)
{
    termios2 t{};
    if (const int error = Call(fd, TCGETS2, &t))
        return error;
    static constexpr int kBits[] = {5, 6, 7, 8};
    settings.InputRate = t.c_ispeed;
    settings.OutputRate = t.c_ospeed;
    settings.DataBits = kBits[(t.c_cflag & CSIZE) >> 4];
    settings.ParityOn = t.c_cflag & PARENB;
    settings.OddParity = t.c_cflag & PARODD;
    settings.StickParity = t.c_cflag & CMSPAR;
    settings.TwoStopBits = t.c_cflag & CSTOPB;
    settings.RtsCts = t.c_cflag & CRTSCTS;
    settings.XonXoffOutput = t.c_iflag & IXON;
    settings.XonXoffInput = t.c_iflag & IXOFF;
    settings.ParityCheck = t.c_iflag & INPCK;
    settings.Canonical = t.c_lflag & ICANON;
    settings.LocalLine = t.c_cflag & CLOCAL;
    settings.ReceiverOn = t.c_cflag & CREAD;
    settings.MinChars = t.c_cc[VMIN];
    settings.CharTimeout = t.c_cc[VTIME];
    settings.XonChar = static_cast<char>(t.c_cc[VSTART]);
    settings.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    return 0;
}

int SetModemLines(int fd, int lines, bool raise)
{
    int bits = 0;
    if (lines & kDtr)
        bits |= TIOCM_DTR;
    if (lines & kRts)
        bits |= TIOCM_RTS;
    return Call(fd, raise ? TIOCMBIS : TIOCMBIC, &bits);
}

int Flush(int fd, bool input, bool output)
{
    if (!input && !output)
        return 0;
    const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return ::ioctl(fd, TCFLSH, queue) == 0 ? 0 : errno;
}

int OutputQueue(int fd, int &count)
{
    count = 0;
    return Call(fd, TIOCOUTQ, &count);
}

int SetExclusive(int fd, bool exclusive)
{
    return ::ioctl(fd, exclusive ? TIOCEXCL : TIOCNXCL) == 0 ? 0 : errno;
}

} // namespace TtyIoctl
