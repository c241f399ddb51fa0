// Reconnecting when a lost device comes back: the option in the COM Port group's menu, the wait
// on the device path, and the return with the settings and line levels of before.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commportdriver.h"
#include "comportmap.h"
#include "devicewatch.h"
#include "useroptions.h"

#include <QFileInfo>
#include <QTimer>

namespace {

const QString kOption = QStringLiteral("ReconnectWhenDeviceReturns");
// A device that is there but does not open yet (its permissions not set yet, a prober holding
// it) gives no further folder notice when that ends: it is tried again after this long.
constexpr int kRetryMs = 500;

} // namespace

// The waiting for a lost device and what to restore when it opens again.
class TMainFormReconnect : public QObject
{
public:
    explicit TMainFormReconnect(QObject *parent)
        : QObject(parent)
        , Watch(this)
    {
        Retry.setSingleShot(true);
        Retry.setInterval(kRetryMs);
    }

    bool Enabled = false;
    bool Waiting = false;
    bool Dtr = false;
    bool Rts = false;
    TDeviceWatch Watch;
    QTimer Retry;
};

void TMainForm::SetupReconnect()
{
    m_reconnect = new TMainFormReconnect(this);
    m_reconnect->Enabled = UserOptions::Flag(kOption);
    m_reconnect->Watch.OnPresent = m_app.Guard(this, &TMainForm::DeviceReturned);
    connect(&m_reconnect->Retry, &QTimer::timeout, this, m_app.Guard(this, &TMainForm::DeviceReturned));
}

bool TMainForm::ReconnectWhenDeviceReturns() const
{
    return m_reconnect->Enabled;
}

void TMainForm::SetReconnectWhenDeviceReturns(bool on)
{
    m_reconnect->Enabled = on;
    if (!on && WaitingForDevice())
        DisconnectBtnClick();
    UserOptions::SetFlag(kOption, on);
}

bool TMainForm::WaitingForDevice() const
{
    return m_reconnect && m_reconnect->Waiting;
}

// The port is closed already; the buttons stay as while connected, so Disconnect ends the wait.
void TMainForm::WaitForDevice()
{
    TMainFormReconnect &r = *m_reconnect;
    r.Waiting = true;
    r.Dtr = m_driver->DTRLevel();
    r.Rts = m_driver->RTSLevel();
    AddGapLine("lost");
    m_app.SetTitle(QStringLiteral("Velorand - Disconnected"));
    WatchLostDevice();
}

void TMainForm::WatchLostDevice()
{
    const QString com = ComPortName(m_driver->ComPort());
    const QString device = TComPortMap().DevicePath(com);
    SetStatusText(QStringLiteral("Waiting for %1 (%2)…").arg(com, device));
    m_reconnect->Watch.Watch(device);
}

// A device given to the port while it is waited for is waited for instead, and may be there already.
void TMainForm::WaitForNewDevice()
{
    WatchLostDevice();
    DeviceReturned();
}

void TMainForm::StopWaiting()
{
    if (!m_reconnect)
        return;
    m_reconnect->Waiting = false;
    m_reconnect->Watch.Stop();
    m_reconnect->Retry.stop();
}

void TMainForm::DeviceReturned()
{
    TMainFormReconnect &r = *m_reconnect;
    if (!r.Waiting)
        return;
    if (!m_driver->OpenPort()) {
        if (QFileInfo::exists(r.Watch.Path()))
            r.Retry.start();
        return;
    }
    StopWaiting();
    if (m_driver->DTRLevel() != r.Dtr)
        m_driver->SetDTR(r.Dtr);
    // Under RTS/CTS the port drives RTS itself.
    if (m_driver->ComPortHwHandshaking() != hhRTSCTS && m_driver->RTSLevel() != r.Rts)
        m_driver->SetRTS(r.Rts);
    // Lost again while the lines were set: the loss has started a new wait.
    if (!m_driver->IsOpen())
        return;
    AddGapLine("back");
    SetStatusText(QStringLiteral("Connected"));
    m_app.SetTitle(QStringLiteral("Velorand - Connected"));
}
