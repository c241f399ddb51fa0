// The only file that sees the kernel's termios2: <asm/termbits.h> and the C library's <termios.h>
// declare the same names differently, so <termios.h> must stay out of here.
#include "ttyioctl.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstddef>
#include <limits>

namespace TtyIoctl {
namespace {

int Call(int fd, unsigned long request, void *argument)
{
    return ::ioctl(fd, request, argument) == 0 ? 0 : errno;
}

// The control bits that carry the rate and the character format.
constexpr tcflag_t kRateAndFormat = CBAUD | CIBAUD | CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;

// Sets the bits under mask to table[index]; an index outside the table leaves them as they are.
template <std::size_t N>
bool SetPart(tcflag_t &flags, tcflag_t mask, const tcflag_t (&table)[N], unsigned index)
{
    if (index >= N)
        return false;
    flags = (flags & ~mask) | table[index];
    return true;
}

bool SetCharacterFormat(tcflag_t &flags, const TLineState &state)
{
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    // none, odd, even, mark, space; stick parity sends the PARODD sense as a fixed bit
    static constexpr tcflag_t kParities[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD, PARENB | CMSPAR};
    // Linux has no 1.5 stop bits; CSTOPB gives 1.5 with 5 data bits on a 16550 and 2 otherwise.
    static constexpr tcflag_t kStopBits[] = {0, CSTOPB, CSTOPB};
    const bool size = SetPart(flags, CSIZE, kSizes, state.ByteSize - 5u);
    const bool parity = SetPart(flags, PARENB | PARODD | CMSPAR, kParities, state.Parity);
    const bool stopBits = SetPart(flags, CSTOPB, kStopBits, state.StopBits);
    return size && parity && stopBits;
}

bool SetRate(termios2 &t, std::uint32_t rate)
{
    // A rate of 0 would hang the line up.
    if (rate == 0 || rate > std::uint32_t(std::numeric_limits<std::int32_t>::max()))
        return false;
    t.c_cflag = (t.c_cflag & ~(CBAUD | CIBAUD)) | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    return true;
}

void KeepRateAndFormat(termios2 &t, const termios2 &current)
{
    t.c_cflag = (t.c_cflag & ~kRateAndFormat) | (current.c_cflag & kRateAndFormat);
    t.c_ispeed = current.c_ispeed;
    t.c_ospeed = current.c_ospeed;
}

// Nothing the terminal does for people may touch a byte: no line editing, echo, signals, case or
// line-end translation in either direction.
void MakeRaw(termios2 &t)
{
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON | IXOFF | IXANY | INPCK
                   | IGNPAR);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

void SetFlowControl(termios2 &t, const TLineState &state)
{
    if (state.fParity)
        t.c_iflag |= INPCK;
    if (state.fOutX)
        t.c_iflag |= IXON;
    if (state.fInX)
        t.c_iflag |= IXOFF;
    t.c_cflag &= ~CRTSCTS;
    if (state.fOutxCtsFlow || state.fRtsControl == 2)
        t.c_cflag |= CRTSCTS;
    t.c_cc[VSTART] = static_cast<cc_t>(state.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(state.XoffChar);
}

} // namespace

int ApplyLineState(int fd, const TLineState &state)
{
    termios2 current{};
    if (const int error = Call(fd, TCGETS2, &current))
        return error;
    termios2 t = current;
    MakeRaw(t);
    SetFlowControl(t, state);
    // HUPCL stays on: the modem lines drop when the port is closed.
    t.c_cflag |= CLOCAL | CREAD | HUPCL;
    // A part the line cannot take keeps what the terminal had; raw mode lands regardless.
    const bool format = SetCharacterFormat(t.c_cflag, state);
    const bool rate = SetRate(t, state.BaudRate);
    if (const int error = Call(fd, TCSETS2, &t)) {
        // A driver that cannot run at the rate may refuse the whole setting: land the raw mode at
        // the terminal's own rate and format.
        KeepRateAndFormat(t, current);
        Call(fd, TCSETS2, &t);
        return error;
    }
    return format && rate ? 0 : EINVAL;
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

int ModemLines(int fd, int &bits)
{
    bits = 0;
    return Call(fd, TIOCMGET, &bits);
}

TModemInputs ModemInputsOf(int bits)
{
    return {(bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_CAR) != 0, (bits & TIOCM_RNG) != 0};
}

int WaitModemChange(int fd)
{
    return ::ioctl(fd, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG) == 0 ? 0 : errno;
}

int SetBreak(int fd, bool on)
{
    return ::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

} // namespace TtyIoctl
