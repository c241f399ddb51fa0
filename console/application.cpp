#include "application.h"

#include "apperror.h"
#include "dialogs.h"
#include "qtdialogs.h"

#include <QApplication>
#include <QDebug>
#include <QIcon>
#include <QWidget>

#include <csignal>
#include <exception>

static void LoadProgramResources()
{
    Q_INIT_RESOURCE(app);
}

static void IgnoreSignal(int)
{
}

// A write to a pipe whose reader has gone (SIGPIPE) or past the file-size limit (SIGXFSZ) would end
// the program where it stands, its window state unsaved; caught, the write fails with EPIPE or EFBIG
// and is reported as any failed write. A handler that does nothing rather than SIG_IGN: programs
// started from here (a browser for a link) get the default dispositions back at exec.
static void SurviveFailedWrites()
{
    struct sigaction action = {};
    action.sa_handler = IgnoreSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGPIPE, SIGXFSZ})
        ::sigaction(number, &action, nullptr);
}

TApplication::TApplication(TDialogs *dialogs)
    : m_ownDialogs(dialogs ? nullptr : std::make_unique<TQtDialogs>())
    , m_dialogs(dialogs ? dialogs : m_ownDialogs.get())
{
    LoadProgramResources();
    SurviveFailedWrites();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velorand/velorand.xpm")));
}

TApplication::~TApplication() = default;

void TApplication::SetTitle(const QString &title)
{
    m_title = title;
    if (m_mainWindow)
        m_mainWindow->setWindowIconText(title);
}

// Not the application display name: Qt appends that to every window's caption once and never
// updates it. Task bars on X11 show a window's icon name (_NET_WM_ICON_NAME).
void TApplication::SetMainWindow(QWidget *window)
{
    m_mainWindow = window;
    if (window)
        window->setWindowIconText(m_title);
}

QString TApplication::ErrorText(const QString &text)
{
    if (!text.isEmpty() && text.back() > u'.')
        return text + u'.';
    return text;
}

void TApplication::ShowError(const QString &text) const
{
    if (m_unattended) {
        qWarning().noquote() << ErrorText(text);
        return;
    }
    m_dialogs->ErrorBox(QApplication::activeWindow(), m_title, ErrorText(text));
}

void TApplication::Run(const std::function<void()> &handler) const noexcept
{
    RunReportingErrors(handler, [this](const QString &message) { ShowError(message); });
}
