#pragma once

#include "commportdriver.h"
#include "filesender.h"

#include <QObject>

// The window's driver as the port a file send writes to; owned by the window like its controls.
class TDriverSendPort : public QObject, public TFileSendPort
{
public:
    TDriverSendPort(TCommPortDriver &driver, QObject *owner)
        : QObject(owner)
        , m_driver(driver)
    {
    }

    bool IsOpen() const override { return m_driver.IsOpen(); }
    std::int16_t OutputFreeSpace() override { return m_driver.OutputFreeSpace(); }
    std::int32_t WriteBytes(const void *data, std::int32_t count) override
    {
        return m_driver.WriteBytes(data, count);
    }
    std::uint16_t OutputTimeout() const override { return m_driver.OutputTimeout(); }

private:
    TCommPortDriver &m_driver;
};
