#pragma once

#include <QByteArray>

class TCommPortDriver;

// How long RTS stays raised after a macro's bytes have been handed to the driver.
inline constexpr int kMacroRtsHoldMs = 10;

// The line a macro echoes as: its decoded bytes up to the first zero byte, one character per byte.
QByteArray MacroEchoLine(const QByteArray &decoded);

// Writes every decoded byte of a macro, however long, zero bytes included. With rtsOnTx the write
// is framed by raising RTS before it and lowering it kMacroRtsHoldMs after it; the thread blocks
// meanwhile. The framing happens even for a macro that decodes to nothing. A closed port or a
// write that times out is not reported.
void WriteMacro(TCommPortDriver &driver, const QByteArray &decoded, bool rtsOnTx);
