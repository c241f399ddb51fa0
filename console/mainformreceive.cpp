// The receive pane: the display of received data, the value columns, the counter and the log.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "bytecolumn.h"
#include "commportdriver.h"
#include "dialogs.h"
#include "localclock.h"
#include "receivedisplay.h"
#include "rxlog.h"
#include "rxviewoptions.h"

#include <QTime>
#include <QTimer>

// The receive state the window owns beside its controls: the value columns' rows, the display
// tool, the log and the clock they read, and the view choices of the box's menu.
class TMainFormReceive : public QObject
{
public:
    TMainFormReceive(Ui::TMainForm &ui, QObject *parent)
        : QObject(parent)
        , Display(ui.RxMemo->Lines(), Dec, Hex, Bin, Clock)
    {
    }

    TSwitchableClock Clock;
    TByteColumn Dec{TByteColumn::Dec};
    TByteColumn Hex{TByteColumn::Hex};
    TByteColumn Bin{TByteColumn::Bin};
    TReceiveDisplay Display;
    TRxLog Log{Clock};
    TRxViewOptions View;
    // The counter label is redrawn with the receive box's frame rather than on every block, which
    // cost as much as the receive box itself. The timer covers blocks that leave the box as it
    // was (a backspace on an empty line).
    QTimer CountRefresh;
    std::int32_t ShownCount = 0;
};

void TMainForm::SetupReceive()
{
    m_receive = new TMainFormReceive(*m_ui, this);
    m_ui->Memo1->SetSource(&m_receive->Dec);
    m_ui->Memo2->SetSource(&m_receive->Hex);
    m_ui->Memo3->SetSource(&m_receive->Bin);
    m_ui->RxMemo->setAccessibleName(QStringLiteral("Receive"));
    for (TMemoView *column : {m_ui->Memo1, m_ui->Memo2, m_ui->Memo3})
        column->setAccessibleName(column->toolTip());
    m_receive->CountRefresh.setSingleShot(true);
    m_receive->CountRefresh.setInterval(2 * TMemoView::kFrameMs);
    connect(&m_receive->CountRefresh, &QTimer::timeout, this, m_app.Guard(this, &TMainForm::ShowCount));
    connect(m_ui->RxMemo, &TMemoView::FrameApplied, this, m_app.Guard([this] {
                if (m_receive->CountRefresh.isActive())
                    ShowCount();
            }));
    m_receive->Display.OnCountChanged = [this](std::int32_t count) {
        m_receive->ShownCount = count;
        if (!m_receive->CountRefresh.isActive())
            m_receive->CountRefresh.start();
    };
}

TReceiveDisplay &TMainForm::ReceiveDisplay() const
{
    return m_receive->Display;
}

TRxViewOptions &TMainForm::RxView() const
{
    return m_receive->View;
}

void TMainForm::ShowCount()
{
    m_receive->CountRefresh.stop();
    m_ui->LabCount0->setText(QString::number(m_receive->ShownCount));
}

QByteArray TMainForm::IntToBin(int value)
{
    return ::IntToBin(value);
}

void TMainForm::CommPortDriverReceiveData(QObject *, const void *DataPtr, int DataSize)
{
    TReceiveOptions options;
    options.HexMode = m_ui->RxMemoHex->isChecked();
    options.TimeStamps = m_ui->TCBox->isChecked();
    options.CrIsLf = m_ui->CRLFCBox->isChecked();
    options.DecColumn = m_ui->CBoxDec->isChecked();
    options.HexColumn = m_ui->CBoxHex->isChecked();
    options.BinColumn = m_ui->CBoxBin->isChecked();
    options.CountTarget = TReceiveDisplay::CountTargetFromText(m_ui->ChCount0->text());
    m_receive->View.ApplyTo(options);
    TRxLog *log = m_ui->StartLog->isEnabled() ? nullptr : &m_receive->Log;
    m_receive->Display.Receive(DataPtr, DataSize, options, log);
}

// A display line of the window's own, in String mode: "--- COM1 lost 14:05:09 ---".
void TMainForm::AddGapLine(const char *event)
{
    if (!m_ui->RxMemoStr->isChecked())
        return;
    const QString line = QStringLiteral("--- %1 %2 %3 ---")
                             .arg(ComPortName(m_driver->ComPort()), QString::fromLatin1(event),
                                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    m_receive->Display.AddNote(line.toLatin1());
}

void TMainForm::SetClock(TClock *clock)
{
    m_receive->Clock.SetSource(clock);
}

void TMainForm::ClrRxMemoClick()
{
    m_receive->Display.ClearAll();
}

void TMainForm::Button2Click()
{
    m_receive->Display.ResetCounter();
    m_receive->CountRefresh.stop();
    m_ui->LabCount0->setText(QStringLiteral("0"));
}

void TMainForm::StartLogClick()
{
    TFileOpenOptions options = OpenDialog2();
    options.FileName = QStringLiteral("velorand.log");
    const std::optional<QString> path = m_app.Dialogs().OpenFile(this, options);
    if (path)
        StartLogFile(*path);
}

void TMainForm::StartLogFile(const QString &path)
{
    m_receive->Log.Start(path);
    m_ui->StartLog->setEnabled(false);
    m_ui->StopLog->setEnabled(true);
}

// A failed write or close leaves the log open with the buttons as they were; StopLog again
// writes the trailer again and retries.
void TMainForm::StopLogClick()
{
    m_receive->Log.Stop();
    m_ui->StartLog->setEnabled(true);
    m_ui->StopLog->setEnabled(false);
}

void TMainForm::CloseReceiveLog()
{
    if (!m_ui->StartLog->isEnabled())
        m_receive->Log.CloseWithoutTrailer();
}
