// The accessible names of the window's controls.
#include "mainform.h"

#include "ui_mainform.h"

#include <QLineEdit>

// What screen readers are told beyond the designed window: names where a caption alone does not
// say what a control is (four buttons read SET, CLR, SET, CLR) or a control has none. The
// captions on screen stay as designed.
void TMainForm::SetupAccessibility()
{
    const std::pair<QWidget *, const char *> names[] = {
        {m_ui->Panel1, "Settings bar"},
        {m_ui->Panel3, "Receive pane"},
        {m_ui->RxSplitter1, "Splitter"},
        {m_ui->Panel4, "Transmit pane"},
        {m_ui->ClrRxMemo, "Clear receive"},
        {m_ui->ChCount0, "Counted character"},
        {m_ui->StartLog, "Start log"},
        {m_ui->StopLog, "Stop log"},
        {m_ui->CBoxDec, "Dec column"},
        {m_ui->CBoxHex, "Hex column"},
        {m_ui->CBoxBin, "Bin column"},
        {m_ui->ClrTxMemo, "Clear transmit"},
        {m_ui->DTRLed, "DTR lamp"},
        {m_ui->SetDTRBtn, "Set DTR"},
        {m_ui->ClrDTRBtn, "Clear DTR"},
        {m_ui->RTSLed, "RTS lamp"},
        {m_ui->SetRTSBtn, "Set RTS"},
        {m_ui->ClrRTSBtn, "Clear RTS"},
        {m_ui->TxMemo, "Transmit"},
        {m_ui->lbMacro1, "Macro 1"},
        {m_ui->lbMacro2, "Macro 2"},
        {m_ui->lbMacro3, "Macro 3"},
        {m_ui->bMacro1, "Send macro 1"},
        {m_ui->bMacro2, "Send macro 2"},
        {m_ui->bMacro3, "Send macro 3"},
    };
    for (const auto &[control, name] : names)
        control->setAccessibleName(QString::fromLatin1(name));
    // The edit field inside each box is an object of its own in the tree; it says which macro too.
    for (QComboBox *box : {m_ui->lbMacro1, m_ui->lbMacro2, m_ui->lbMacro3})
        box->lineEdit()->setAccessibleName(box->accessibleName());
    // The group captions carry blanks for the frame line; a screen reader should not spell them.
    for (TRadioGroup *group : findChildren<TRadioGroup *>())
        group->setAccessibleName(group->title().trimmed());
    // The labels "dec", "hex" and "bin" lie behind the Settings strip and are never seen:
    // hidden, they are not read out either.
    for (QLabel *label : {m_ui->Label1, m_ui->Label2, m_ui->Label3})
        label->hide();
}
