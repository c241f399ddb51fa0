#pragma once

#include "commportdriver.h"
#include "filesender.h"

#include <QObject>

#include <functional>
#include <utility>

// The window's driver as the port a file send writes to; owned by the window like its controls.
class TDriverSendPort : public QObject, public TFileSendPort
{
public:
    TDriverSendPort(TCommPortDriver &driver, QObject *owner)
        : QObject(owner)
        , m_driver(driver)
    {
        connect(&m_driver, &TCommPortDriver::OutputReady, this, [this] {
            if (const std::function<void()> ready = std::exchange(m_ready, nullptr))
                ready();
        });
    }

    bool IsOpen() const override { return m_driver.IsOpen(); }
    std::int32_t WriteAvailable(const void *data, std::int32_t count) override
    {
        return m_driver.WriteAvailable(data, count);
    }
    void WhenWritable(std::function<void()> ready) override
    {
        m_ready = std::move(ready);
        m_driver.NotifyOutputReady();
    }
    void CancelWhenWritable() override
    {
        m_ready = nullptr;
        m_driver.CancelOutputReady();
    }
    std::uint16_t OutputTimeout() const override { return m_driver.OutputTimeout(); }

private:
    TCommPortDriver &m_driver;
    std::function<void()> m_ready;
};
