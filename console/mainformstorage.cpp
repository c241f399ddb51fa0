// The window state kept between runs: placement, and the control settings a user expects back.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "fontproperties.h"
#include "formstorage.h"

namespace {

// The order matters: the serial groups reach the driver in this order at start-up, before
// cbAuto can connect, and the upper pane's height comes after the splitter's top to decide
// the split.
const QStringList kStoredProps{
    QStringLiteral("ComPortRG.ItemIndex"),     QStringLiteral("BaudRateRG.ItemIndex"),
    QStringLiteral("DataBitsRG.ItemIndex"),    QStringLiteral("ParityRG.ItemIndex"),
    QStringLiteral("StopBitsRG.ItemIndex"),    QStringLiteral("HandshakingRG.ItemIndex"),
    QStringLiteral("RxSplitter1.Top"),         QStringLiteral("Panel3.Height"),
    QStringLiteral("Panel4.Height"),           QStringLiteral("cbAuto.Checked"),
    QStringLiteral("lbMacro1.Text"),           QStringLiteral("lbMacro2.Text"),
    QStringLiteral("lbMacro3.Text"),           QStringLiteral("CBoxBin.Checked"),
    QStringLiteral("CBoxDec.Checked"),         QStringLiteral("CBoxHex.Checked"),
    QStringLiteral("TCBox.Checked"),           QStringLiteral("CRLFCBox.Checked"),
    QStringLiteral("RxMemo.Font"),             QStringLiteral("TxMemo.Font"),
    QStringLiteral("RxMemoStr.Checked"),       QStringLiteral("RxMemoHex.Checked"),
    QStringLiteral("ChCount0.Value"),          QStringLiteral("CRpLFCB.Checked"),
};

// Central European, as the receive box was designed; the transmit box keeps the default set.
constexpr int kRxMemoCharset = 238;

} // namespace

void TMainForm::SetupStorage()
{
    // Character set and pitch have no Qt font counterpart; the stored fonts carry them as the
    // design gave them.
    m_ui->RxMemo->setProperty("fontCharset", kRxMemoCharset);
    for (QWidget *box : {static_cast<QWidget *>(m_ui->RxMemo), static_cast<QWidget *>(m_ui->TxMemo)})
        box->setProperty("fontPitch", int(TFontProperties::fpDefault));

    m_placement = std::make_unique<TFormPlacement>(this);
    m_storage = std::make_unique<TFormStorage>(this);
    const auto report = [this](const QString &message) { m_app.ShowError(message); };
    m_placement->OnError = report;
    m_storage->OnError = report;
    m_storage->SetStoredProps(kStoredProps);
}

void TMainForm::SaveWindowState()
{
    // In the order of a close, so that Storage is the last writer of every placement value.
    m_app.Run([this] { m_placement->SaveWindowState(); });
    m_app.Run([this] { m_storage->SaveWindowState(); });
}
