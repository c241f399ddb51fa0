// The transmit box's right-click menu: Send Break above the standard edit actions.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "commportdriver.h"
#include "dialogs.h"

#include <QMenu>

namespace {

constexpr int kBreakMs = 250;

} // namespace

void TMainForm::TxMemoContextMenu(const QPoint &pos)
{
    QMenu *menu = m_ui->TxMemo->createStandardContextMenu(pos);
    menu->setObjectName(QStringLiteral("TxMemoMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto *sendBreak = new QAction(QStringLiteral("Send Break"), menu);
    sendBreak->setObjectName(QStringLiteral("SendBreak"));
    sendBreak->setEnabled(m_driver->CanSendBreak());
    connect(sendBreak, &QAction::triggered, this, m_app.Guard(this, &TMainForm::SendBreakClick));
    QAction *first = menu->actions().value(0);
    menu->insertAction(first, sendBreak);
    menu->insertSeparator(first);
    menu->popup(m_ui->TxMemo->viewport()->mapToGlobal(pos));
}

void TMainForm::SendBreakClick()
{
    if (!m_driver->SendBreak(kBreakMs))
        m_app.Dialogs().Beep();
}
