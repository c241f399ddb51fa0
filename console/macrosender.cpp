#include "macrosender.h"

#include "commportdriver.h"
#include "macrodecoder.h"

#include <QThread>

void SendMacro(TCommPortDriver &driver, const QByteArray &macroText, bool rtsOnTx, const TMacroEcho &echo)
{
    const QByteArray bytes = DecodeMacro(macroText);
    const qsizetype firstZero = bytes.indexOf('\0');
    echo(bytes.first(firstZero < 0 ? bytes.size() : firstZero));
    if (rtsOnTx)
        driver.SetRTS(true);
    driver.WriteBytes(bytes.constData(), static_cast<std::int32_t>(bytes.size()));
    if (rtsOnTx) {
        QThread::msleep(kMacroRtsHoldMs);
        driver.SetRTS(false);
    }
}
