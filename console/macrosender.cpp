#include "macrosender.h"

#include "commportdriver.h"

#include <QThread>

QByteArray MacroEchoLine(const QByteArray &decoded)
{
    const qsizetype firstZero = decoded.indexOf('\0');
    return decoded.first(firstZero < 0 ? decoded.size() : firstZero);
}

void WriteMacro(TCommPortDriver &driver, const QByteArray &decoded, bool rtsOnTx)
{
    if (rtsOnTx)
        driver.SetRTS(true);
    driver.WriteBytes(decoded.constData(), static_cast<std::int32_t>(decoded.size()));
    if (rtsOnTx) {
        QThread::msleep(kMacroRtsHoldMs);
        driver.SetRTS(false);
    }
}
