#pragma once

#include <QByteArray>

class TCommPortDriver;

// Writes every byte to the driver. With rtsOnTx ("RTS on TX", for a transceiver that RTS turns to
// sending) the write is framed by raising RTS before it and lowering it holdMs after it; the
// thread blocks meanwhile. A closed port or a write that times out is not reported.
void WriteRtsFramed(TCommPortDriver &driver, const QByteArray &bytes, bool rtsOnTx, int holdMs);
