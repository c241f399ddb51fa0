#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commportdriver.h"
#include "historycombobox.h"
#include "hotkeymanager.h"
#include "macrodecoder.h"
#include "macroecho.h"
#include "macrosender.h"
#include "radiogroup.h"

#include <utility>

namespace {

constexpr int kMacroHistoryLength = 10;

} // namespace

void TMainForm::SetupMacros()
{
    THistoryComboBox *const boxes[] = {m_ui->lbMacro1, m_ui->lbMacro2, m_ui->lbMacro3};
    for (int i = 0; i < 3; ++i) {
        boxes[i]->SetKey(QStringLiteral("VELORAND\\Macro%1").arg(i + 1));
        boxes[i]->SetMaxHistoryLength(kMacroHistoryLength);
    }
    m_hotKeyManager1 = new THotKeyManager(this);
    m_hotKeyManager1->setObjectName(QStringLiteral("HotKeyManager1"));
    // Enabled, not application-wide: the hot keys act while this window is the active one, from
    // now until it is destroyed. The key handler is bound with the others.
    m_hotKeyManager1->Loaded();
}

void TMainForm::bMacro1Click()
{
    SendMacroOf(*m_ui->lbMacro1);
}

void TMainForm::bMacro2Click()
{
    SendMacroOf(*m_ui->lbMacro2);
}

void TMainForm::bMacro3Click()
{
    SendMacroOf(*m_ui->lbMacro3);
}

// The echo records the macro where the user asked for it, among the typed keys; the bytes may
// have to wait for a file send, and go out framed as the handshaking choice then says.
void TMainForm::SendMacroOf(const THistoryComboBox &box)
{
    const std::u32string decoded = DecodeMacro(box.currentText());
    AppendMacroEcho(*m_ui->TxMemo, MacroEchoLine(decoded));
    TransmitInTurn([this, bytes = MacroBytes(decoded)] {
        WriteMacro(*m_driver, bytes, m_ui->HandshakingRG->ItemIndex() == kRtsOnTxItem);
    });
}

void TMainForm::SaveMacro11Click()
{
    SaveMacroOf(*m_ui->lbMacro1);
}

void TMainForm::SaveMacro21Click()
{
    SaveMacroOf(*m_ui->lbMacro2);
}

void TMainForm::SaveMAcro31Click()
{
    SaveMacroOf(*m_ui->lbMacro3);
}

void TMainForm::SaveMacroOf(THistoryComboBox &box)
{
    box.SaveHistory();
}

void TMainForm::HotKeyManager1KeyDown(QObject *Sender, std::uint16_t &Key, TShiftState Shift)
{
    Q_UNUSED(Sender);
    // Compared as the menu text, so a held modifier makes it another key; the key goes on to
    // the focused control either way.
    const QString shortcut = ShortCutToText(Key, Shift);
    const std::pair<const char *, QPushButton *> hotKeys[] = {
        {"F1", m_ui->bMacro1}, {"F2", m_ui->bMacro2}, {"F3", m_ui->bMacro3}, {"F4", m_ui->ClrRxMemo}};
    for (const auto &[text, button] : hotKeys) {
        if (shortcut == QLatin1String(text))
            button->click();
    }
}
