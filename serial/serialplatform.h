#pragma once

#include "openfailure.h"

#include <QString>

#include <cstdint>

// An open port as the platform layer hands it out: an opaque number, > 0 while valid.
// kInvalidPortHandle stands for no port: a failed open, a closed driver.
using TPortHandle = std::int32_t;
inline constexpr TPortHandle kInvalidPortHandle = -1;

// Outcome of one platform call. Gone means the device hung up or disappeared: the handle is
// useless from then on and should be closed. Unsupported: the port cannot do what was asked.
enum class TSerialStatus { Ok, WouldBlock, Gone, Failed, Unsupported };

struct TSerialOpenResult {
    TPortHandle Handle = kInvalidPortHandle;
    TOpenFailure Failure = TOpenFailure::None;
    QString Device;   // what the name resolved to (a device path on POSIX)
};

// A count of bytes moved or queued, with how the call went.
struct TSerialCount {
    std::int32_t Count = 0;
    TSerialStatus Status = TSerialStatus::Ok;
};

// The line state, one field per member of the classic device-control block.
struct TLineState {
    std::uint32_t BaudRate = 0;
    bool fBinary = false;
    bool fParity = false;            // check received parity
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    std::uint8_t fDtrControl = 0;    // 0 lowered, 1 raised while open
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = false;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    std::uint8_t fRtsControl = 0;    // 0 lowered, 1 raised, 2 handshake
    bool fAbortOnError = false;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;       // 5..8
    std::uint8_t Parity = 0;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;       // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    bool operator==(const TLineState &) const = default;
};

// The modem input lines as the port last read them; true = the line is asserted.
struct TModemInputs {
    bool Cts = false;
    bool Dsr = false;
    bool Dcd = false;
    bool Ri = false;

    bool operator==(const TModemInputs &) const = default;
};

// Milliseconds, in the order of the classic time-out record.
struct TCommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;

    bool operator==(const TCommTimeouts &) const = default;
};

// Discard bits and modem-line function codes, as the driver passes them.
namespace SerialPurge {
inline constexpr std::uint32_t kTxAbort = 1, kRxAbort = 2, kTxClear = 4, kRxClear = 8;
}
namespace SerialEscape {
inline constexpr int kSetRts = 3, kClrRts = 4, kSetDtr = 5, kClrDtr = 6;
}

// The serial services the driver needs from the operating system. Every call is synchronous and
// runs on the caller's thread; none blocks longer than asked. A handle is only meaningful to the
// object that returned it. ModemInputs and WaitModemChange may run on another thread than the
// port's other calls, as long as the port is not closed meanwhile.
class TSerialPlatform
{
public:
    virtual ~TSerialPlatform() = default;

    // name: "COM1".."COM6". Exclusive, non-blocking, existing devices only.
    virtual TSerialOpenResult Open(const QString &name) = 0;
    virtual void Close(TPortHandle handle) = 0;

    // Failed when the rate (0 or above 2^31 - 1) or the character format (byte size, parity, stop
    // bits outside their ranges) cannot be set: those keep what the port had, while raw mode, flow
    // control and the modem lines are set all the same, so the port never rewrites a byte.
    virtual TSerialStatus SetLineState(TPortHandle handle, const TLineState &state) = 0;
    virtual TSerialStatus Purge(TPortHandle handle, std::uint32_t bits) = 0;
    virtual TSerialStatus SetupQueues(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) = 0;
    virtual TSerialStatus SetTimeouts(TPortHandle handle, const TCommTimeouts &timeouts) = 0;
    virtual TSerialStatus EscapeFunction(TPortHandle handle, int code) = 0;
    // Failed where the device has no modem lines (a pseudo-terminal).
    virtual TSerialStatus ModemInputs(TPortHandle handle, TModemInputs &lines) = 0;
    // Blocks until one of the four input lines changes (Ok) or a signal arrives (WouldBlock).
    // Unsupported where the device cannot report changes.
    virtual TSerialStatus WaitModemChange(TPortHandle handle) = 0;
    // Holds the transmit line in the break state while on is true.
    virtual TSerialStatus SetBreak(TPortHandle handle, bool on) = 0;

    // Never waits: WouldBlock with Count 0 when nothing has arrived or no room is left.
    virtual TSerialCount Read(TPortHandle handle, void *buffer, std::int32_t maxCount) = 0;
    virtual TSerialCount Write(TPortHandle handle, const void *data, std::int32_t count) = 0;
    // Bytes still waiting in the output queue.
    virtual TSerialCount OutputQueueCount(TPortHandle handle) = 0;

    // A descriptor for notifiers: readable when data waits or the device hangs up, writable when
    // the port takes bytes again after a write would have blocked (perhaps only once its far end
    // has read much of what waits); -1 when the platform has none (the driver then polls on a
    // short timer).
    virtual int ReadinessDescriptor(TPortHandle handle) = 0;
    // Returns when the port can take bytes again or after timeoutMs, whichever comes first.
    virtual void WaitWritable(TPortHandle handle, int timeoutMs) = 0;
    virtual void Sleep(int milliseconds) = 0;
    // Milliseconds from an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
};

// An open port and its platform, for a thread that waits on the port's modem lines.
struct TModemLinePort {
    TSerialPlatform *Platform = nullptr;
    TPortHandle Handle = kInvalidPortHandle;
};

// The platform a driver uses when it is given none: one per process, defined by the platform's
// own source file, the one the build picks for the system.
TSerialPlatform &DefaultSerialPlatform();
