#pragma once

#include <QByteArray>

#include <cstdint>

// Macro texts: plain text with escapes for arbitrary byte values.
//   #ddd  the byte (100*d + 10*d + d) modulo 256; each of the three positions that is not a
//         decimal digit, or lies past the end of the text, counts as 0
//   $hh   the byte 16*h + h, with HexDigitValue for each of the two positions
//   ##    "#"     $$  "$"
// Every other character stands for its own byte. Every text decodes; an escape cut short by the
// end of the text still yields its byte. Decoding never yields more bytes than the text has.
QByteArray DecodeMacro(const QByteArray &text);

// 0-9, A-F and a-f give their value; every other character gives 0.
std::uint8_t HexDigitValue(char character);
