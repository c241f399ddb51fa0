#include "rtsframedwrite.h"

#include "commportdriver.h"

#include <QThread>

void WriteRtsFramed(TCommPortDriver &driver, const QByteArray &bytes, bool rtsOnTx, int holdMs)
{
    if (rtsOnTx)
        driver.SetRTS(true);
    driver.WriteBytes(bytes.constData(), static_cast<std::int32_t>(bytes.size()));
    if (rtsOnTx) {
        QThread::msleep(holdMs);
        driver.SetRTS(false);
    }
}
