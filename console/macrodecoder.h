#pragma once

#include <QStringView>

#include <cstdint>
#include <string>

// Macro texts: plain text with escapes for arbitrary byte values.
//   #ddd  the byte (100*d + 10*d + d) modulo 256; each of the three positions that is not a
//         decimal digit, or lies past the end of the text, counts as 0
//   $hh   the byte 16*h + h, with HexDigitValue for each of the two positions
//   ##    "#"     $$  "$"
// The result is characters: an escape gives the character U+0000..U+00FF of its byte value,
// every other character stands for itself. Positions count characters, whatever their code.
// Every text decodes; an escape cut short by the end of the text still yields its character.
// Decoding never yields more characters than the text has.
std::u32string DecodeMacro(QStringView text);

// 0-9, A-F and a-f give their value; every other character gives 0.
std::uint8_t HexDigitValue(char32_t character);
