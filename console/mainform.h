#pragma once

#include "virtualkeys.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TMainForm;
}
class QAction;
class QKeySequence;
class QMenu;
class QPushButton;
class TALed;
class TAboutFrm;
class TAppEvents;
class TApplication;
class TClock;
class TCommPortDriver;
class TFileSender;
class TFormPlacement;
class TFormStorage;
class TMainFormMacros;
class TMainFormReceive;
class TMainFormRxTools;
class TReceiveDisplay;
class TMainFormReconnect;
class TMainFormStatus;
class TMainFormTransmit;
class THistoryComboBox;
class THotKeyManager;
class TRadioGroup;
class TSerialPlatform;
struct TFileOpenOptions;
struct TModemInputs;
struct TRxViewOptions;
struct TStartOptions;

// The program's one window: the settings bar, the receive and transmit panes, the status bar,
// the serial port driver, and the handlers behind every control. Handlers are public so that
// the application events, the hot keys and tests can run them as a click would.
class TMainForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr auto kCaption = "Velorand v1.9b - 20030122 - by Quen++";
    // The HandshakingRG item under which typed keys and macros raise RTS around their bytes.
    static constexpr int kRtsOnTxItem = 4;

    // app: outlives the window. platform: the serial layer for the driver; nullptr means the
    // real one. Not owned.
    explicit TMainForm(TApplication &app, TSerialPlatform *platform = nullptr, QWidget *parent = nullptr);
    ~TMainForm() override;

    TApplication &App() const { return m_app; }
    TCommPortDriver &CommPortDriver() const { return *m_driver; }
    // The About box created at start; not owned. Until it is set, Button1 shows nothing.
    TAboutFrm *AboutBox() const { return m_aboutBox; }
    void SetAboutBox(TAboutFrm *aboutBox) { m_aboutBox = aboutBox; }
    QString StatusText() const;

    static const TFileOpenOptions &OpenDialog1();
    static const TFileOpenOptions &OpenDialog2();

    // The window's own handlers.
    void FormCreate();
    void FormClose();
    void FormResize();
    void QuitBtnClick();
    void Button1Click();
    void FontSetBtnClick();
    // The save passes of a close, without closing; errors go to the standard error report.
    void SaveWindowState();
    // The command line's choices, over the state restored at the first show: call after it.
    void ApplyStartOptions(const TStartOptions &options);

    // Port settings and connection.
    void ComPortRGClick();
    void BaudRateRGClick();
    void DataBitsRGClick();
    void ParityRGClick();
    void StopBitsRGClick();
    void HandshakingRGClick();
    void ApplyPortSettings();
    void ConnectBtnClick();
    void DisconnectBtnClick();
    void AppEventsActivate();
    void AppEventsDeactivate();
    void CommPortDriverDeviceLost();

    // Reconnecting when a lost device returns (an addition, off by default).
    bool ReconnectWhenDeviceReturns() const;
    void SetReconnectWhenDeviceReturns(bool on);
    bool WaitingForDevice() const;
    void DeviceReturned();

    // The status bar's additions: the port section, the modem input lamps, the traffic counts.
    void PortSectionClick();
    void SendBreakClick();

    // The device behind each COM item.
    void ComPortRGContextMenu(const QPoint &pos);
    void AssignPortDevice(int item, const QString &devicePath);
    void UpdatePortHints();

    // Transmit box, file send and the manual modem lines.
    void TxMemoKeyPress(char32_t Key);
    void ClrTxMemoClick();
    void SendFileBtnClick();
    void SetDTRBtnClick();
    void ClrDTRBtnClick();
    void SetRTSBtnClick();
    void ClrRTSBtnClick();
    TFileSender &FileSender() const;

    // Receive display, counter and log.
    void CommPortDriverReceiveData(QObject *Sender, const void *DataPtr, int DataSize);
    void ClrRxMemoClick();
    void Button2Click();
    void StartLogClick();
    void StopLogClick();
    static QByteArray IntToBin(int value);
    // Takes the text of a value under Software\VELORAND\Options and stores it.
    void SetRxViewOption(const QString &name, const QString &text);
    // The clock of the time stamps and the log; nullptr for the local clock. Not owned.
    void SetClock(TClock *clock);

    // Additions to the receive box, reached from its context menu and keys: find, save of the
    // received text, pause.
    void RxFindClick();
    void RxSaveAsClick();
    void RxPauseClick();
    static const TFileOpenOptions &SaveRxDialog();

    // Macros and hot keys.
    void bMacro1Click();
    void bMacro2Click();
    void bMacro3Click();
    void SaveMacro11Click();
    void SaveMacro21Click();
    void SaveMAcro31Click();
    void HotKeyManager1KeyDown(QObject *Sender, std::uint16_t &Key, TShiftState Shift);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BindHandlers();
    void ApplyDesignLook();
    void CreatePopupMenu1();
    void SetupDriver();
    void SetupPaneSplitter();
    void SetupAppEvents();
    void BindRadioGroup(TRadioGroup *group, void (TMainForm::*handler)());
    void SetStatusText(const QString &text);
    void ShowDisconnectedWithError(const QString &status, const QString &why);
    QString ComPortName(int item) const;
    QMenu *BuildPortMenu(int item);
    void SetupTransmit();
    void SetupFileSend();
    void TypeIntoTxMemo(const QString &typed);
    void TransmitInTurn(std::function<void()> send);
    void FileSendFinished();
    void CommandModemLine(void (TCommPortDriver::*drive)(bool), bool on, TALed *led, QPushButton *setBtn,
                          QPushButton *clrBtn);
    void SetupMacros();
    QMenu &PopupMenu1() const;
    THotKeyManager &HotKeyManager1() const;
    void SetupReceive();
    TReceiveDisplay &ReceiveDisplay() const;
    void SetupRxTools();
    QAction *AddRxAction(const char *name, const QString &text, const QKeySequence &key);
    void ShowWaiting();
    QString PauseStatusText() const;
    void CloseReceiveLog();
    void SetupRxView();
    TRxViewOptions &RxView() const;
    void BindRxViewItem(QAction *item, const char *name);
    void StartLogFile(const QString &path);
    void ApplyStartPort(const TStartOptions &options);
    void ShowCount();
    void gbMacrosContextMenu(const QPoint &pos);
    void SendMacroOf(const THistoryComboBox &box);
    void SaveMacroOf(THistoryComboBox &box);
    void SetupStorage();
    void SetupAccessibility();
    void SetupReconnect();
    void WaitForDevice();
    void WatchLostDevice();
    void WaitForNewDevice();
    void StopWaiting();
    void AddGapLine(const char *event);
    void SetupStatusText();
    void RefreshStatusText();
    void SetupStatusBar();
    void BindStatusBar();
    void UpdatePortSection();
    void ShowConnectFailure();
    void ClearConnectFailure();
    void PortOpened();
    void PortClosed();
    void ShowTraffic();
    void ShowModemLines(const std::optional<TModemInputs> &lines);
    void FitStatusBar();
    void TxMemoContextMenu(const QPoint &pos);

    std::unique_ptr<Ui::TMainForm> m_ui;
    TApplication &m_app;
    TCommPortDriver *m_driver;
    TAboutFrm *m_aboutBox = nullptr;
    TAppEvents *m_appEvents = nullptr;
    TMainFormTransmit *m_transmit = nullptr;
    TMainFormMacros *m_macros = nullptr;
    TMainFormReceive *m_receive = nullptr;
    TMainFormRxTools *m_rxTools = nullptr;
    TMainFormReconnect *m_reconnect = nullptr;
    TMainFormStatus *m_status = nullptr;
    // Last, and Placement before Storage: Storage is destroyed first, both while the controls
    // whose state they save at destruction still exist.
    std::unique_ptr<TFormPlacement> m_placement;
    std::unique_ptr<TFormStorage> m_storage;
};
