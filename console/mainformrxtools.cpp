// Additions to the receive box: find, save of the received text, pause. They are reached from
// the box's context menu and from keys that act only in the box and in the find bar; unused,
// they leave the box as designed.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "dialogs.h"
#include "filewrite.h"
#include "findbar.h"
#include "receivedisplay.h"

#include <QAction>
#include <QTimer>

namespace {

// What the box shows of a long pause at a time, so that the window answers while it catches up.
constexpr qint64 kShowSlice = qint64(2) << 20;
// The waiting count in the status bar is redrawn at most this often.
constexpr int kStatusRefreshMs = 100;

} // namespace

// The receive box's additions the window owns beside its controls: the find bar, the menu items,
// and the timers that show a pause's held data and count.
class TMainFormRxTools : public QObject
{
public:
    using QObject::QObject;

    TFindBar *FindBar = nullptr;
    QAction *Find = nullptr;
    QAction *SaveAs = nullptr;
    QAction *Pause = nullptr;
    QTimer Showing;
    QTimer StatusRefresh;
};

void TMainForm::SetupRxTools()
{
    m_rxTools = new TMainFormRxTools(this);
    TMainFormRxTools &tools = *m_rxTools;
    tools.FindBar = new TFindBar(*m_ui->RxMemo, this);
    tools.FindBar->HexMode = [this] { return m_ui->RxMemoHex->isChecked(); };
    connect(m_ui->RxMemoHex, &QAbstractButton::toggled, tools.FindBar, &TFindBar::Refresh);
    m_ui->Panel3Layout->addWidget(tools.FindBar);

    tools.Find = AddRxAction("RxFind", QStringLiteral("&Find\u2026"), QKeySequence(Qt::CTRL | Qt::Key_F));
    tools.SaveAs = AddRxAction("RxSaveAs", QStringLiteral("&Save received text as\u2026"), QKeySequence());
    tools.Pause = AddRxAction("RxPause", QStringLiteral("&Pause"), QKeySequence(Qt::CTRL | Qt::Key_Space));
    tools.Pause->setCheckable(true);
    m_ui->RxMemo->AddMenuActions({tools.Find, tools.SaveAs, tools.Pause});
    tools.FindBar->addActions({tools.Find, tools.Pause});
    const auto &guard = m_app;
    connect(tools.Find, &QAction::triggered, this, guard.Guard(this, &TMainForm::RxFindClick));
    connect(tools.SaveAs, &QAction::triggered, this, guard.Guard(this, &TMainForm::RxSaveAsClick));
    connect(tools.Pause, &QAction::triggered, this, guard.Guard(this, &TMainForm::RxPauseClick));

    connect(&tools.Showing, &QTimer::timeout, this, guard.Guard(this, &TMainForm::ShowWaiting));
    tools.StatusRefresh.setSingleShot(true);
    tools.StatusRefresh.setInterval(kStatusRefreshMs);
    connect(&tools.StatusRefresh, &QTimer::timeout, this, guard.Guard(this, &TMainForm::RefreshStatusText));
    ReceiveDisplay().OnWaitingChanged = [this] {
        if (!m_rxTools->StatusRefresh.isActive())
            m_rxTools->StatusRefresh.start();
    };
}

// The keys belong to the box (and the find bar): in the transmit box Ctrl+F and Ctrl+Space are
// bytes for the port.
QAction *TMainForm::AddRxAction(const char *name, const QString &text, const QKeySequence &key)
{
    auto *action = new QAction(text, m_ui->RxMemo);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_ui->RxMemo->addAction(action);
    return action;
}

const TFileOpenOptions &TMainForm::SaveRxDialog()
{
    static const TFileOpenOptions options{QStringLiteral("Save received text as"),
                                          QStringLiteral("Text files (*.txt)|*.txt|All files (*.*)|*.*"), 0,
                                          QStringLiteral("txt"), QStringLiteral("received.txt")};
    return options;
}

void TMainForm::RxFindClick()
{
    m_rxTools->FindBar->Open();
}

// The text is taken when the dialog closes: data goes on arriving while it is open.
void TMainForm::RxSaveAsClick()
{
    const std::optional<QString> path = m_app.Dialogs().SaveFile(this, SaveRxDialog());
    if (path)
        SaveFile(*path, m_ui->RxMemo->Lines().Text());
}

void TMainForm::RxPauseClick()
{
    if (m_rxTools->Pause->isChecked()) {
        ReceiveDisplay().Pause();
        m_rxTools->Showing.stop();
    } else {
        ReceiveDisplay().Resume();
        m_rxTools->Showing.start(0);
    }
    m_rxTools->StatusRefresh.stop();
    RefreshStatusText();
}

void TMainForm::ShowWaiting()
{
    if (ReceiveDisplay().Paused() || !ReceiveDisplay().ShowWaiting(kShowSlice))
        m_rxTools->Showing.stop();
}

QString TMainForm::PauseStatusText() const
{
    if (!m_rxTools || !ReceiveDisplay().Paused())
        return QString();
    const TRxHold &waiting = ReceiveDisplay().Waiting();
    QString text = QStringLiteral("Paused \u2014 %1 bytes waiting").arg(waiting.WaitingBytes());
    if (waiting.DroppedBytes() > 0)
        text += QStringLiteral(", %1 dropped (more than 256 MiB)").arg(waiting.DroppedBytes());
    return text;
}
