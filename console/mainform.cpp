// The window's construction, its handler bindings, and the handlers of the window itself.
#include "mainform.h"

#include "ui_mainform.h"

#include "aboutfrm.h"
#include "accessiblerole.h"
#include "appevents.h"
#include "application.h"
#include "commportdriver.h"
#include "designlook.h"
#include "dialogs.h"
#include "formstorage.h"
#include "hotkeymanager.h"

#include <QCloseEvent>
#include <QMenu>

TMainForm::TMainForm(TApplication &app, TSerialPlatform *platform, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TMainForm>())
    , m_app(app)
    , m_driver(new TCommPortDriver(this, platform))
{
    // A plain QWidget reads as filler to a screen reader; this one is the program's window.
    SetAccessibleRole("TMainForm", QAccessible::Window);
    m_ui->setupUi(this);
    m_app.SetMainWindow(this);
    ApplyDesignLook();
    SetupDriver();
    SetupPaneSplitter();
    SetupAppEvents();
    SetupStatusText();
    UpdatePortHints();
    SetupTransmit();
    SetupMacros();
    SetupReceive();
    SetupRxTools();
    SetupRxView();
    SetupAccessibility();
    BindHandlers();
    SetupReconnect();
    SetupStatusBar();
    SetupStorage();
    m_app.Run([this] { FormCreate(); });
}

TMainForm::~TMainForm()
{
    // The status bar follows the port's closing; it must close while the whole window is there,
    // not when the driver goes with the window's children.
    m_driver->ClosePort();
}

// Every control -> handler connection of the window, each through the handler guard.
void TMainForm::BindHandlers()
{
    const auto &guard = m_app;
    connect(m_ui->ConnectBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::ConnectBtnClick));
    connect(m_ui->DisconnectBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::DisconnectBtnClick));
    connect(m_ui->Button1, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::Button1Click));
    connect(m_ui->QuitBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::QuitBtnClick));
    connect(m_ui->FontSetBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::FontSetBtnClick));
    BindRadioGroup(m_ui->ComPortRG, &TMainForm::ComPortRGClick);
    BindRadioGroup(m_ui->BaudRateRG, &TMainForm::BaudRateRGClick);
    BindRadioGroup(m_ui->DataBitsRG, &TMainForm::DataBitsRGClick);
    BindRadioGroup(m_ui->ParityRG, &TMainForm::ParityRGClick);
    BindRadioGroup(m_ui->StopBitsRG, &TMainForm::StopBitsRGClick);
    BindRadioGroup(m_ui->HandshakingRG, &TMainForm::HandshakingRGClick);
    connect(m_ui->ComPortRG, &QWidget::customContextMenuRequested, this,
            guard.Guard(this, &TMainForm::ComPortRGContextMenu));
    connect(m_ui->TxMemo, &QWidget::customContextMenuRequested, this,
            guard.Guard(this, &TMainForm::TxMemoContextMenu));
    m_driver->OnDeviceLost = guard.Guard(this, &TMainForm::CommPortDriverDeviceLost);
    m_appEvents->OnActivate = guard.Guard(this, &TMainForm::AppEventsActivate);
    m_appEvents->OnDeactivate = guard.Guard(this, &TMainForm::AppEventsDeactivate);
    connect(m_ui->ClrTxMemo, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::ClrTxMemoClick));
    connect(m_ui->SendFileBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::SendFileBtnClick));
    connect(m_ui->SetDTRBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::SetDTRBtnClick));
    connect(m_ui->ClrDTRBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::ClrDTRBtnClick));
    connect(m_ui->SetRTSBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::SetRTSBtnClick));
    connect(m_ui->ClrRTSBtn, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::ClrRTSBtnClick));
    connect(m_ui->bMacro1, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::bMacro1Click));
    connect(m_ui->bMacro2, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::bMacro2Click));
    connect(m_ui->bMacro3, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::bMacro3Click));
    connect(m_ui->gbMacros, &QWidget::customContextMenuRequested, this,
            guard.Guard(this, &TMainForm::gbMacrosContextMenu));
    connect(PopupMenu1().findChild<QAction *>(QStringLiteral("SaveMacro11")), &QAction::triggered, this,
            guard.Guard(this, &TMainForm::SaveMacro11Click));
    connect(PopupMenu1().findChild<QAction *>(QStringLiteral("SaveMacro21")), &QAction::triggered, this,
            guard.Guard(this, &TMainForm::SaveMacro21Click));
    connect(PopupMenu1().findChild<QAction *>(QStringLiteral("SaveMAcro31")), &QAction::triggered, this,
            guard.Guard(this, &TMainForm::SaveMAcro31Click));
    HotKeyManager1().OnKeyDown = guard.Guard(this, &TMainForm::HotKeyManager1KeyDown);
    m_driver->OnReceiveData = guard.Guard(this, &TMainForm::CommPortDriverReceiveData);
    connect(m_ui->ClrRxMemo, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::ClrRxMemoClick));
    connect(m_ui->Button2, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::Button2Click));
    connect(m_ui->StartLog, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::StartLogClick));
    connect(m_ui->StopLog, &QPushButton::clicked, this, guard.Guard(this, &TMainForm::StopLogClick));
}

void TMainForm::BindRadioGroup(TRadioGroup *group, void (TMainForm::*handler)())
{
    connect(group, &TRadioGroup::Click, this, m_app.Guard(this, handler));
}

void TMainForm::ApplyDesignLook()
{
    setFont(TDesignLook::WindowFont());
    for (QWidget *small : {static_cast<QWidget *>(m_ui->ClrRxMemo), static_cast<QWidget *>(m_ui->Button2)})
        small->setFont(TDesignLook::SmallFont());
    for (QPushButton *button : m_ui->GroupBox2->findChildren<QPushButton *>())
        button->setFont(TDesignLook::SmallFont());

    QWidget *const boxes[] = {m_ui->RxMemo, m_ui->Memo1, m_ui->Memo2, m_ui->Memo3, m_ui->TxMemo};
    for (QWidget *box : boxes) {
        box->setFont(TDesignLook::CourierFont());
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, box == m_ui->RxMemo ? TDesignLook::ButtonFace(palette)
                                                             : TDesignLook::ScrollBar(palette));
        box->setPalette(palette);
    }
    m_ui->ComPortRG->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ui->TxMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    // The labels "dec", "hex" and "bin" lie behind the Settings strip, which hides them.
    m_ui->GroupBox3->raise();
}

void TMainForm::SetupDriver()
{
    m_driver->setObjectName(QStringLiteral("CommPortDriver"));
    m_driver->SetComPort(pnCOM1);
    m_driver->SetComPortParity(ptEVEN);
    m_driver->SetComPortPollingDelay(0);
    m_driver->SetEnableDTROnOpen(false);
    m_driver->SetCustomBR(4800);
}

const TFileOpenOptions &TMainForm::OpenDialog1()
{
    static const TFileOpenOptions options{
        QString(),
        QStringLiteral("All files (*.*)|*.*|HEX file (*.hex)|*.hex|BIN file (*.bin)|*.bin|"
                       "ASCII text file (*.txt)|*.txt"),
        0, QString(), QString()};
    return options;
}

const TFileOpenOptions &TMainForm::OpenDialog2()
{
    static const TFileOpenOptions options{QStringLiteral("Select log file"),
                                          QStringLiteral("All files (*.*)|*.*|Log files (*.log)|*.log"),
                                          1, QStringLiteral("*.log"), QString()};
    return options;
}

QString TMainForm::StatusText() const
{
    return m_ui->StatusBar->currentMessage();
}

void TMainForm::FormCreate()
{
    setWindowTitle(QString::fromLatin1(kCaption));
    // Each box loads on its own: a history that cannot be read must not leave the next boxes
    // empty, where their next save would erase what is stored.
    for (THistoryComboBox *box : {m_ui->lbMacro1, m_ui->lbMacro2, m_ui->lbMacro3})
        m_app.Run([box] { box->LoadHistory(); });
}

void TMainForm::FormClose()
{
    CloseReceiveLog();
}

void TMainForm::FormResize()
{
    const int width = frameGeometry().width();
    m_ui->CBoxDec->move(width - 200, m_ui->CBoxDec->y());
    m_ui->CBoxHex->move(width - 140, m_ui->CBoxHex->y());
    m_ui->CBoxBin->move(width - 80, m_ui->CBoxBin->y());
}

void TMainForm::QuitBtnClick()
{
    close();
}

void TMainForm::Button1Click()
{
    if (m_aboutBox)
        m_app.Dialogs().RunModal(*m_aboutBox);
}

void TMainForm::FontSetBtnClick()
{
    const std::optional<QFont> font = m_app.Dialogs().ChooseFont(this, m_ui->RxMemo->font());
    if (!font)
        return;
    m_ui->RxMemo->setFont(*font);
    m_ui->TxMemo->setFont(*font);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    m_app.Run([this] { FormClose(); });
    event->accept();
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_app.Run([this] { FormResize(); });
}
