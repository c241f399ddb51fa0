// The transmit pane: typed keys go out at once, a file goes out in steps from the event loop,
// and the DTR and RTS lines follow their SET and CLR buttons.
#include "mainform.h"

#include "ui_mainform.h"

#include "aled.h"
#include "application.h"
#include "characterbytes.h"
#include "commportdriver.h"
#include "dialogs.h"
#include "driversendport.h"
#include "eventtap.h"
#include "filesendbar.h"
#include "filesender.h"
#include "rtsframedwrite.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QShortcut>

#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr int kKeyRtsHoldMs = 1;

// What a key press puts into the box, as the characters it types. Keys that type nothing there
// (Delete, Alt chords, Tab when it moves the focus) give nothing.
QString TypedText(const QKeyEvent &key, bool tabMovesFocus)
{
    if (key.key() == Qt::Key_Delete || (key.modifiers() & Qt::AltModifier)
        || (key.key() == Qt::Key_Tab && tabMovesFocus))
        return {};
    return key.text();
}

} // namespace

// The transmit state the window owns beside its controls: the file send, its progress bar and
// stop key, and what waits to go out after the file.
class TMainFormTransmit : public QObject
{
public:
    using QObject::QObject;

    TFileSender *FileSender = nullptr;
    TFileSendBar *FileSendBar = nullptr;
    QShortcut *StopFileSend = nullptr;
    QList<std::function<void()>> SendsAfterFile;
};

void TMainForm::SetupTransmit()
{
    m_transmit = new TMainFormTransmit(this);
    SetupFileSend();
    for (TALed *led : {m_ui->DTRLed, m_ui->RTSLed}) {
        led->SetLEDStyle(TALed::LEDHorizontal);
        led->SetBlink(false);
    }
    new TEventTap(m_ui->TxMemo, [this](QEvent *event) {
        if (event->type() == QEvent::KeyPress)
            TypeIntoTxMemo(TypedText(*static_cast<QKeyEvent *>(event), m_ui->TxMemo->tabChangesFocus()));
        else if (event->type() == QEvent::InputMethod)
            TypeIntoTxMemo(static_cast<QInputMethodEvent *>(event)->commitString());
        return false;
    });
}

void TMainForm::SetupFileSend()
{
    TMainFormTransmit &t = *m_transmit;
    t.FileSender = new TFileSender(*new TDriverSendPort(*m_driver, this), this);
    t.FileSender->setObjectName(QStringLiteral("FileSender"));
    t.FileSendBar = new TFileSendBar(this);
    m_ui->StatusBar->addPermanentWidget(t.FileSendBar);
    t.FileSendBar->hide();
    t.StopFileSend = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    t.StopFileSend->setEnabled(false);
    connect(t.FileSender, &TFileSender::Progress, t.FileSendBar, &TFileSendBar::SetProgress);
    connect(t.FileSender, &TFileSender::Finished, this, m_app.Guard(this, &TMainForm::FileSendFinished));
    connect(t.FileSendBar, &TFileSendBar::StopRequested, t.FileSender, &TFileSender::Stop);
    connect(t.StopFileSend, &QShortcut::activated, t.FileSender, &TFileSender::Stop);
    // A window that closes takes its file send with it, whatever keeps the window object alive.
    new TEventTap(this, [this](QEvent *event) {
        if (event->type() == QEvent::Close)
            m_transmit->FileSender->Stop();
        return false;
    });
}

TFileSender &TMainForm::FileSender() const
{
    return *m_transmit->FileSender;
}

void TMainForm::TypeIntoTxMemo(const QString &typed)
{
    for (char32_t key : typed.toUcs4())
        TransmitInTurn([this, key] { TxMemoKeyPress(key); });
}

// Whatever is sent while a file goes out follows the file, in the order it was asked for,
// instead of landing in the middle of it.
void TMainForm::TransmitInTurn(std::function<void()> send)
{
    if (m_transmit->FileSender->IsRunning())
        m_transmit->SendsAfterFile.append(std::move(send));
    else
        m_app.Run(send);
}

void TMainForm::TxMemoKeyPress(char32_t Key)
{
    if (!m_driver->IsOpen())
        return;
    const QByteArray bytes =
        Key == U'\r' && m_ui->CRpLFCB->isChecked() ? QByteArrayLiteral("\r\n") : CharacterBytes(Key);
    WriteRtsFramed(*m_driver, bytes, m_ui->HandshakingRG->ItemIndex() == kRtsOnTxItem, kKeyRtsHoldMs);
}

void TMainForm::ClrTxMemoClick()
{
    m_ui->TxMemo->clear();
}

void TMainForm::SendFileBtnClick()
{
    TMainFormTransmit &t = *m_transmit;
    if (t.FileSender->IsRunning())
        return;
    const std::optional<QString> path = m_app.Dialogs().OpenFile(this, OpenDialog1());
    if (!path)
        return;
    if (!t.FileSender->Start(*path)) {
        m_app.Dialogs().WarningBox(this, QStringLiteral("Warning"),
                                   QStringLiteral("File access error! (+r attribute?)"));
        return;
    }
    t.FileSendBar->Begin(*path, t.FileSender->Total());
    t.FileSendBar->show();
    t.StopFileSend->setEnabled(true);
}

void TMainForm::FileSendFinished()
{
    TMainFormTransmit &t = *m_transmit;
    t.FileSendBar->End(t.FileSender->Summary());
    t.StopFileSend->setEnabled(false);
    for (const std::function<void()> &send : std::exchange(t.SendsAfterFile, {}))
        m_app.Run(send);
}

void TMainForm::SetDTRBtnClick()
{
    CommandModemLine(&TCommPortDriver::SetDTR, true, m_ui->DTRLed, m_ui->SetDTRBtn, m_ui->ClrDTRBtn);
}

void TMainForm::ClrDTRBtnClick()
{
    CommandModemLine(&TCommPortDriver::SetDTR, false, m_ui->DTRLed, m_ui->SetDTRBtn, m_ui->ClrDTRBtn);
}

void TMainForm::SetRTSBtnClick()
{
    CommandModemLine(&TCommPortDriver::SetRTS, true, m_ui->RTSLed, m_ui->SetRTSBtn, m_ui->ClrRTSBtn);
}

void TMainForm::ClrRTSBtnClick()
{
    CommandModemLine(&TCommPortDriver::SetRTS, false, m_ui->RTSLed, m_ui->SetRTSBtn, m_ui->ClrRTSBtn);
}

// The LED is the only record of the last command; exactly one button of the pair is enabled,
// SET exactly while the LED is off.
void TMainForm::CommandModemLine(void (TCommPortDriver::*drive)(bool), bool on, TALed *led,
                                 QPushButton *setBtn, QPushButton *clrBtn)
{
    (m_driver->*drive)(on);
    led->SetValue(on);
    (on ? clrBtn : setBtn)->setEnabled(true);
    (on ? setBtn : clrBtn)->setEnabled(false);
}
