#include "programend.h"

#include "application.h"
#include "commportdriver.h"
#include "mainform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>

#include <utility>

TProgramEnd::TProgramEnd(TMainForm &window)
    : m_window(window)
    , m_exitHook([this] { CloseAtExit(); })
{
    connect(&m_signals, &TQuitSignals::Received, this, &TProgramEnd::EndOnSignal);
    // Direct: the manager takes the request as answered when the signal returns.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &TProgramEnd::SaveForSession,
            Qt::DirectConnection);
}

TProgramEnd::~TProgramEnd() = default;

void TProgramEnd::EndOnSignal(int signalNumber)
{
    if (std::exchange(m_ended, true))
        return;
    m_window.App().SetUnattended(true);
    m_window.close();
    QCoreApplication::exit(SignalExitStatus(signalNumber));
}

void TProgramEnd::SaveForSession()
{
    TApplication &app = m_window.App();
    const bool wasUnattended = app.Unattended();
    app.SetUnattended(true);
    m_window.SaveWindowState();
    app.SetUnattended(wasUnattended);
}

void TProgramEnd::CloseAtExit()
{
    if (std::exchange(m_ended, true))
        return;
    m_window.App().SetUnattended(true);
    // The close notification alone runs the save passes and FormClose; close() would also hide
    // the window, which talks to a display that is gone.
    QCloseEvent close;
    QCoreApplication::sendEvent(&m_window, &close);
    m_window.CommPortDriver().ClosePort();
}
