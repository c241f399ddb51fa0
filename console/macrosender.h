#pragma once

#include <QByteArray>

#include <functional>

class TCommPortDriver;

// Receives the decoded text up to its first zero byte, one character per byte, to show as a line.
using TMacroEcho = std::function<void(const QByteArray &line)>;

// How long RTS stays raised after a macro's bytes have been handed to the driver.
inline constexpr int kMacroRtsHoldMs = 10;

// Sends one macro text: decodes it, echoes it, and writes every decoded byte, however long the
// text, zero bytes included. With rtsOnTx the write is framed by raising RTS before it and
// lowering it kMacroRtsHoldMs after it; the thread blocks meanwhile. The framing happens even for
// a macro that decodes to nothing. A closed port or a write that times out is not reported.
void SendMacro(TCommPortDriver &driver, const QByteArray &macroText, bool rtsOnTx, const TMacroEcho &echo);
