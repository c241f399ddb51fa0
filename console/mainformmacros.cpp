// The macro pane: the three macro boxes, their menu and the F1-F4 hot keys.
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

#include <QMenu>

#include <utility>

namespace {

constexpr int kMacroHistoryLength = 10;

} // namespace

// The macro state the window owns beside its controls: the group's menu and the hot keys.
class TMainFormMacros : public QObject
{
public:
    using QObject::QObject;

    QMenu *PopupMenu1 = nullptr;
    THotKeyManager *HotKeyManager1 = nullptr;
};

void TMainForm::SetupMacros()
{
    m_macros = new TMainFormMacros(this);
    CreatePopupMenu1();
    THistoryComboBox *const boxes[] = {m_ui->lbMacro1, m_ui->lbMacro2, m_ui->lbMacro3};
    for (int i = 0; i < 3; ++i) {
        boxes[i]->SetKey(QStringLiteral("VELORAND\\Macro%1").arg(i + 1));
        boxes[i]->SetMaxHistoryLength(kMacroHistoryLength);
    }
    m_macros->HotKeyManager1 = new THotKeyManager(this);
    m_macros->HotKeyManager1->setObjectName(QStringLiteral("HotKeyManager1"));
    // Enabled, not application-wide: the hot keys act while this window is the active one, from
    // now until it is destroyed. The key handler is bound with the others.
    m_macros->HotKeyManager1->Loaded();
}

void TMainForm::CreatePopupMenu1()
{
    QMenu *menu = m_macros->PopupMenu1 = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    const char *const items[][2] = {{"SaveMacro11", "Save Macro 1"},
                                    {"SaveMacro21", "Save Macro 2"},
                                    {"SaveMAcro31", "Save Macro 3"}};
    THistoryComboBox *const boxes[] = {m_ui->lbMacro1, m_ui->lbMacro2, m_ui->lbMacro3};
    for (int i = 0; i < 3; ++i) {
        QAction *save = menu->addAction(QString::fromLatin1(items[i][1]));
        save->setObjectName(QString::fromLatin1(items[i][0]));
        // The boxes' hint says "Right click to save macro.": each box offers its own item too.
        boxes[i]->SetMenuActions({save});
    }
}

QMenu &TMainForm::PopupMenu1() const
{
    return *m_macros->PopupMenu1;
}

THotKeyManager &TMainForm::HotKeyManager1() const
{
    return *m_macros->HotKeyManager1;
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

void TMainForm::gbMacrosContextMenu(const QPoint &pos)
{
    m_macros->PopupMenu1->popup(m_ui->gbMacros->mapToGlobal(pos));
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
