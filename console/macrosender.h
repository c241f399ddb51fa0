#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

class TCommPortDriver;

// How long RTS stays raised after a macro's bytes have been handed to the driver.
inline constexpr int kMacroRtsHoldMs = 10;

// The line a decoded macro echoes as: its characters up to the first U+0000.
QString MacroEchoLine(std::u32string_view decoded);

// The bytes a decoded macro sends: each character as CharacterBytes gives it, so an escape and
// a character of the 8-bit text are single bytes and a character beyond goes out in UTF-8, as a
// key typed into the transmit box does.
QByteArray MacroBytes(std::u32string_view decoded);

// Writes every byte of a macro, however long, zero bytes included. With rtsOnTx the write is
// framed by raising RTS before it and lowering it kMacroRtsHoldMs after it; the thread blocks
// meanwhile. The framing happens even for a macro that decodes to nothing. A closed port or a
// write that times out is not reported.
void WriteMacro(TCommPortDriver &driver, const QByteArray &bytes, bool rtsOnTx);
