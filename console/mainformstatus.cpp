// The status bar: its designed text and, beyond it, which device the port stands for and why it
// would not open, the modem input lines, and the traffic since the connect.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commportdriver.h"
#include "comportmap.h"
#include "eventtap.h"
#include "linelamps.h"
#include "modemlinewatch.h"
#include "portdiagnosis.h"
#include "portfailuretext.h"
#include "statussection.h"
#include "trafficmeter.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QTimer>
#include <QToolTip>

#include <optional>

namespace {

constexpr int kTrafficRefreshMs = 1000;
// Beside the sections the designed status text keeps its own width and the bar's margins.
constexpr int kMessageMargin = 24;
constexpr int kSectionGap = 6;
constexpr char kParityLetters[] = "NOEMS";
constexpr auto kLampsIdle = "The modem input lines, shown while connected";

QString ItemText(const TRadioGroup *group)
{
    const QRadioButton *button = group->Button(group->ItemIndex());
    return button ? button->text() : QStringLiteral("?");
}

} // namespace

// The status bar's text, its additions and the watches that feed them.
class TMainFormStatus : public QObject
{
public:
    TMainFormStatus(TCommPortDriver &driver, QObject *parent)
        : QObject(parent)
        , Lines([&driver]() -> std::optional<TModemInputs> {
            TModemInputs lines;
            return driver.ReadModemInputs(lines) ? std::optional(lines) : std::nullopt;
        }, [&driver] { return driver.ModemLinePort(); }, this)
    {
        TrafficRefresh.setInterval(kTrafficRefreshMs);
        Clock.start();
    }

    // The designed status text, without the pause's addition.
    QString Text;
    TStatusSection *Port = nullptr;
    TLineLamps *Lamps = nullptr;
    QLabel *Traffic = nullptr;
    TModemLineWatch Lines;
    TTrafficMeter Meter;
    QTimer TrafficRefresh;
    QElapsedTimer Clock;
    // Why the last connect failed, until the status text changes again, and for which port.
    std::optional<TPortReason> Failure;
    QString FailedPort;
    // Follows the driver's poll, which stops while the port is still being closed.
    bool Open = false;
};

void TMainForm::SetupStatusText()
{
    m_status = new TMainFormStatus(*m_driver, this);
    SetStatusText(QStringLiteral("Disconnected"));
}

void TMainForm::SetStatusText(const QString &text)
{
    // The pause's refresh sets the same text again; that keeps a connect failure's reason.
    const bool changed = text != m_status->Text;
    m_status->Text = text;
    const QString pause = PauseStatusText();
    m_ui->StatusBar->showMessage(pause.isEmpty() ? text : text + QStringLiteral("   ") + pause);
    if (changed)
        ClearConnectFailure();
}

void TMainForm::RefreshStatusText()
{
    SetStatusText(m_status->Text);
}

void TMainForm::SetupStatusBar()
{
    TMainFormStatus &s = *m_status;
    QStatusBar *bar = m_ui->StatusBar;
    s.Port = new TStatusSection(bar);
    s.Port->setObjectName(QStringLiteral("PortSection"));
    s.Port->setAccessibleName(QStringLiteral("Port"));
    s.Lamps = new TLineLamps({QStringLiteral("CTS"), QStringLiteral("DSR"), QStringLiteral("DCD"), QStringLiteral("RI")}, bar);
    s.Lamps->setObjectName(QStringLiteral("ModemLamps"));
    s.Lamps->setAccessibleName(QStringLiteral("Modem input lines"));
    s.Lamps->SetUnavailable(QString::fromLatin1(kLampsIdle));
    s.Lines.OnChange = m_app.Guard(this, &TMainForm::ShowModemLines);
    s.Traffic = new QLabel(bar);
    s.Traffic->setObjectName(QStringLiteral("TrafficSection"));
    s.Traffic->setAccessibleName(QStringLiteral("Traffic"));
    s.Traffic->hide();
    for (QWidget *section : {static_cast<QWidget *>(s.Port), static_cast<QWidget *>(s.Lamps), static_cast<QWidget *>(s.Traffic)})
        bar->addPermanentWidget(section);
    BindStatusBar();
    UpdatePortSection();
}

// What the sections follow: the port opening and closing, the selections, the status text.
void TMainForm::BindStatusBar()
{
    const auto &guard = m_app;
    connect(m_status->Port, &TStatusSection::Clicked, this, guard.Guard(this, &TMainForm::PortSectionClick));
    connect(m_driver, &TCommPortDriver::PollStarted, this, guard.Guard(this, &TMainForm::PortOpened));
    connect(m_driver, &TCommPortDriver::PollStopped, this, guard.Guard(this, &TMainForm::PortClosed));
    connect(&m_status->TrafficRefresh, &QTimer::timeout, this, guard.Guard(this, &TMainForm::ShowTraffic));
    // After the selection handlers, which BindHandlers connected first.
    for (TRadioGroup *group : findChildren<TRadioGroup *>())
        connect(group, &TRadioGroup::Click, this, guard.Guard(this, &TMainForm::UpdatePortSection));
    connect(m_ui->StatusBar, &QStatusBar::messageChanged, this, guard.Guard(this, &TMainForm::FitStatusBar));
    new TEventTap(m_ui->StatusBar, [this](QEvent *event) {
        if (event->type() == QEvent::Resize)
            FitStatusBar();
        return false;
    });
}

void TMainForm::UpdatePortSection()
{
    if (!m_status->Port)
        return;
    const int item = m_ui->ComPortRG->ItemIndex();
    const QString com = ComPortName(item >= 0 ? item : int(m_driver->ComPort()));
    // Another port chosen since shows its own device.
    const std::optional<TPortReason> failure = m_status->FailedPort == com ? m_status->Failure : std::nullopt;
    QString text = com + QStringLiteral(" → ") + DeviceLabel(TComPortMap().DevicePath(com));
    if (failure) {
        text = com + QStringLiteral(": ") + failure->Short;
    } else if (m_status->Open) {
        const int parity = m_ui->ParityRG->ItemIndex();
        text += QStringLiteral(" · %1 %2%3%4").arg(ItemText(m_ui->BaudRateRG), ItemText(m_ui->DataBitsRG),
                                                    QString(QChar::fromLatin1(parity >= 0 ? kParityLetters[parity] : '?')),
                                                    ItemText(m_ui->StopBitsRG));
        if (m_ui->HandshakingRG->ItemIndex() > 0)
            text += QStringLiteral(" · ") + ItemText(m_ui->HandshakingRG);
    }
    m_status->Port->SetText(text);
    m_status->Port->SetClickable(failure.has_value());
    // The whole text, where the bar has room only for part of it.
    m_status->Port->setToolTip(failure ? failure->Explanation : text);
    FitStatusBar();
}

void TMainForm::ShowConnectFailure()
{
    const TPortReason reason =
        DescribeOpenFailure(DiagnoseOpenFailure(m_driver->LastOpenFailure(), m_driver->LastOpenDevice()));
    ShowDisconnectedWithError(QStringLiteral("Error: port is not available"), reason.Explanation);
    m_status->Failure = reason;
    m_status->FailedPort = ComPortName(m_driver->ComPort());
    UpdatePortSection();
}

// A failure's reason stays in the port section only as long as its status text.
void TMainForm::ClearConnectFailure()
{
    if (!m_status->Port)
        return;
    m_status->Failure.reset();
    UpdatePortSection();
}

void TMainForm::PortSectionClick()
{
    const TStatusSection *port = m_status->Port;
    if (m_status->Failure)
        QToolTip::showText(port->mapToGlobal(QPoint(0, 0)), m_status->Failure->Explanation, m_status->Port,
                           port->rect(), 10000);
}

void TMainForm::PortOpened()
{
    m_status->Open = true;
    m_status->Meter.Reset(m_status->Clock.elapsed());
    m_status->Traffic->show();
    m_status->TrafficRefresh.start();
    ShowTraffic();
    m_status->Lines.Start();
    UpdatePortSection();
}

void TMainForm::PortClosed()
{
    m_status->Open = false;
    m_status->Lines.Stop();
    m_status->Lamps->SetUnavailable(QString::fromLatin1(kLampsIdle));
    m_status->TrafficRefresh.stop();
    m_status->Traffic->hide();
    UpdatePortSection();
}

void TMainForm::ShowTraffic()
{
    m_status->Meter.Sample(m_driver->BytesReceived(), m_driver->BytesSent(), m_status->Clock.elapsed());
    m_status->Traffic->setText(m_status->Meter.Text());
    FitStatusBar();
}

void TMainForm::ShowModemLines(const std::optional<TModemInputs> &lines)
{
    if (lines)
        m_status->Lamps->SetValues({lines->Cts, lines->Dsr, lines->Dcd, lines->Ri});
    else
        m_status->Lamps->SetUnavailable(QStringLiteral("This device has no modem lines"));
}

// The port section takes what the designed status text and the other sections leave.
void TMainForm::FitStatusBar()
{
    if (!m_status->Port)
        return;
    const QStatusBar *bar = m_ui->StatusBar;
    int room = bar->width() - bar->fontMetrics().horizontalAdvance(bar->currentMessage()) - kMessageMargin;
    for (const QWidget *section : bar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (section != m_status->Port && section->isVisibleTo(bar) && !section->isWindow())
            room -= section->sizeHint().width() + kSectionGap;
    }
    m_status->Port->setMaximumWidth(std::max(room, m_status->Port->minimumSizeHint().width()));
    // The sections sit in a layout of their own inside the bar's, which a section's new size
    // does not reach by itself: without this they keep the width of their first text.
    for (int i = 0; i < bar->layout()->count(); ++i) {
        if (QLayout *sections = bar->layout()->itemAt(i)->layout())
            sections->invalidate();
    }
}
