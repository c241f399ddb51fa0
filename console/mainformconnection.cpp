// Port settings and connection: the six selection handlers, connect, disconnect, and what the
// window shows when a port cannot be opened or goes away.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commportdriver.h"
#include "dialogs.h"

#include <array>

namespace {

constexpr std::array kBaudRates{br600,   br1200,  br2400,  br4800,   br9600,   br14400,
                                br19200, br38400, br56000, br57600, br115200, br256000};

struct THandshaking
{
    TComPortHwHandshaking Hw;
    TComPortSwHandshaking Sw;
};
// "RTS on TX" (the fifth item) has no entry: it leaves the driver's handshaking alone.
constexpr std::array<THandshaking, 4> kHandshakings{{{hhNONE, shNONE},
                                                     {hhRTSCTS, shNONE},
                                                     {hhNONE, shXONXOFF},
                                                     {hhRTSCTS, shXONXOFF}}};

// The selected item as an index into a table of count entries, or -1 when nothing applies.
int Selected(const TRadioGroup *group, std::size_t count)
{
    const int index = group->ItemIndex();
    return index >= 0 && std::size_t(index) < count ? index : -1;
}

} // namespace

void TMainForm::ComPortRGClick()
{
    if (WaitingForDevice())
        DisconnectBtnClick();
    ApplyPortSettings();
}

void TMainForm::BaudRateRGClick()
{
    const int index = Selected(m_ui->BaudRateRG, kBaudRates.size());
    if (index >= 0)
        m_driver->SetComPortSpeed(kBaudRates[index]);
}

void TMainForm::DataBitsRGClick()
{
    const int index = Selected(m_ui->DataBitsRG, db8BITS + 1);
    if (index >= 0)
        m_driver->SetComPortDataBits(TComPortDataBits(index));
}

void TMainForm::ParityRGClick()
{
    const int index = Selected(m_ui->ParityRG, ptSPACE + 1);
    if (index >= 0)
        m_driver->SetComPortParity(TComPortParity(index));
}

void TMainForm::StopBitsRGClick()
{
    const int index = Selected(m_ui->StopBitsRG, sb2BITS + 1);
    if (index >= 0)
        m_driver->SetComPortStopBits(TComPortStopBits(index));
}

void TMainForm::HandshakingRGClick()
{
    const int index = Selected(m_ui->HandshakingRG, kHandshakings.size());
    if (index < 0)
        return;
    m_driver->SetComPortHwHandshaking(kHandshakings[index].Hw);
    m_driver->SetComPortSwHandshaking(kHandshakings[index].Sw);
}

void TMainForm::ApplyPortSettings()
{
    const bool wasOpen = m_driver->IsOpen();
    if (wasOpen)
        DisconnectBtnClick();
    const int port = Selected(m_ui->ComPortRG, pnCOM6 + 1);
    if (port >= 0)
        m_driver->SetComPort(TComPortNumber(port));
    BaudRateRGClick();
    DataBitsRGClick();
    ParityRGClick();
    HandshakingRGClick();
    if (wasOpen)
        ConnectBtnClick();
}

void TMainForm::ConnectBtnClick()
{
    ApplyPortSettings();
    if (!m_driver->OpenPort())
        return ShowConnectFailure();
    m_ui->ConnectBtn->setEnabled(false);
    m_ui->DisconnectBtn->setEnabled(true);
    SetStatusText(QStringLiteral("Connected"));
    m_ui->StatusBar->setToolTip(QString());
    m_app.SetTitle(QStringLiteral("Velorand - Connected"));
    m_ui->TxMemo->setFocus();
}

void TMainForm::DisconnectBtnClick()
{
    StopWaiting();
    SetStatusText(QStringLiteral("Disconnected"));
    m_ui->StatusBar->setToolTip(QString());
    m_app.SetTitle(QStringLiteral("Velorand - Disconnected"));
    m_driver->ClosePort();
    m_ui->DisconnectBtn->setEnabled(false);
    m_ui->ConnectBtn->setEnabled(true);
}

void TMainForm::AppEventsActivate()
{
    if (m_ui->cbAuto->isChecked())
        ConnectBtnClick();
}

void TMainForm::AppEventsDeactivate()
{
    if (m_ui->cbAuto->isChecked())
        DisconnectBtnClick();
}

void TMainForm::CommPortDriverDeviceLost()
{
    if (ReconnectWhenDeviceReturns())
        return WaitForDevice();
    DisconnectBtnClick();
    ShowDisconnectedWithError(QStringLiteral("Error: port lost"), QString());
}

void TMainForm::ShowDisconnectedWithError(const QString &status, const QString &why)
{
    SetStatusText(status);
    m_ui->StatusBar->setToolTip(why);
    m_app.SetTitle(QStringLiteral("Velorand - Disconnected"));
    m_app.Dialogs().Beep();
}
