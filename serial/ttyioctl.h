#pragma once

#include "serialplatform.h"

#include <cstdint>

// The terminal ioctls of the POSIX serial layer. Each function returns 0 or the errno of the
// call that failed; nothing here interprets errors.
namespace TtyIoctl {

enum TModemLine : int { kDtr = 1, kRts = 2 };

// What a terminal is set to, as far as the driver's line settings reach.
struct TTtySettings {
    std::uint32_t InputRate = 0;
    std::uint32_t OutputRate = 0;
    int DataBits = 0;
    bool ParityOn = false;
    bool OddParity = false;
    bool StickParity = false;   // mark or space
    bool TwoStopBits = false;
    bool RtsCts = false;
    bool XonXoffOutput = false;
    bool XonXoffInput = false;
    bool ParityCheck = false;
    bool Canonical = false;
    bool LocalLine = false;
    bool ReceiverOn = false;
    int MinChars = 0;
    int CharTimeout = 0;
    char XonChar = 0;
    char XoffChar = 0;
};

// Raw mode, the character format, flow control and the rate (any rate, not only the listed ones);
// reads return as soon as one byte waits. EINVAL for a rate or format part that the line cannot
// take: that part keeps what the terminal had, and the line is raw all the same.
int ApplyLineState(int fd, const TLineState &state);
int ReadSettings(int fd, TTtySettings &settings);
int SetModemLines(int fd, int lines, bool raise);
int Flush(int fd, bool input, bool output);
int OutputQueue(int fd, int &count);
int SetExclusive(int fd, bool exclusive);
// The modem line bits (TIOCMGET) and what they say of the four input lines.
int ModemLines(int fd, int &bits);
TModemInputs ModemInputsOf(int bits);
// Blocks until CTS, DSR, DCD or RI changes (TIOCMIWAIT).
int WaitModemChange(int fd);
int SetBreak(int fd, bool on);

} // namespace TtyIoctl
