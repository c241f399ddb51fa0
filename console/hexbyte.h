#pragma once

#include <cstdint>

// The digits of every HEX text of the received data: the box, the log, the columns, the dump.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes value as two upper-case hex digits from out on; returns the end.
constexpr char *PutHexByte(char *out, std::uint8_t value)
{
    out[0] = kHexDigits[value >> 4];
    out[1] = kHexDigits[value & 15];
    return out + 2;
}
