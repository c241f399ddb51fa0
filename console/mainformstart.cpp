// The command line's choices for this run, made through the window's own controls, so that they
// reach the driver and are stored at quit as the same clicks would be.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commandline.h"
#include "comportmap.h"

#include <utility>

// In this order: the port and its line settings first; then the log, so that it holds the first
// byte the connect brings; then the connect. A log that cannot start leaves the port closed, as
// the user asked for nothing to go unlogged.
void TMainForm::ApplyStartOptions(const TStartOptions &options)
{
    m_app.Run([&] { ApplyStartPort(options); });
    const std::pair<TRadioGroup *, std::optional<int>> settings[] = {
        {m_ui->BaudRateRG, options.BaudRateItem},     {m_ui->DataBitsRG, options.DataBitsItem},
        {m_ui->ParityRG, options.ParityItem},         {m_ui->StopBitsRG, options.StopBitsItem},
        {m_ui->HandshakingRG, options.HandshakingItem},
    };
    for (const auto &[group, item] : settings) {
        if (item)
            group->SetItemIndex(*item);
    }
    m_app.Run([&] {
        if (!options.LogFile.isEmpty())
            StartLogFile(options.LogFile);
        if (options.Connect)
            ConnectBtnClick();
    });
}

// A device goes behind the selected port (COM1 when none is), for this run only unless it is to
// be saved; a failed save keeps it for this run.
void TMainForm::ApplyStartPort(const TStartOptions &options)
{
    if (options.ComPortItem)
        m_ui->ComPortRG->SetItemIndex(*options.ComPortItem);
    if (options.PortDevice.isEmpty())
        return;
    if (m_ui->ComPortRG->ItemIndex() < 0)
        m_ui->ComPortRG->SetItemIndex(0);
    const int item = m_ui->ComPortRG->ItemIndex();
    (void)TComPortMap::MapForRun(ComPortName(item), options.PortDevice);   // the group names only COM1 to COM6
    UpdatePortHints();
    if (options.SavePort)
        AssignPortDevice(item, options.PortDevice);
}
