// The splitter between the panes and the application events.
#include "mainform.h"

#include "ui_mainform.h"

#include "appevents.h"
#include "rxsplitter.h"

namespace {

constexpr int kUpperPaneLimit = 200;
constexpr int kLowerPaneLimit = 150;
constexpr TColor kHintColor = 16776176; // a very pale blue-white

} // namespace

// The bar between the receive and the transmit pane: dragging it sets the receive pane's height.
void TMainForm::SetupPaneSplitter()
{
    TRxSplitter *splitter = m_ui->RxSplitter1;
    splitter->SetAlign(TRxSplitter::alTop);
    splitter->SetControlFirst(m_ui->Panel3);
    splitter->SetControlSecond(m_ui->Panel4);
    splitter->SetTopLeftLimit(kUpperPaneLimit);
    splitter->SetBottomRightLimit(kLowerPaneLimit);
}

// The application's activation changes (for Auto Dis/Connect) and its hint colour.
void TMainForm::SetupAppEvents()
{
    m_appEvents = new TAppEvents(this);
    m_appEvents->setObjectName(QStringLiteral("AppEvents"));
    m_appEvents->SetHintColor(kHintColor);
}
