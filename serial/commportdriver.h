#pragma once

#include <QObject>

#include "notifyevent.h"
#include "openfailure.h"
#include "pollscheduler.h"
#include "serialplatform.h"

#include <cstdint>
#include <functional>
#include <memory>

// Enumerations keep their ordinals: they index the speed table and map straight onto line settings.
enum TComPortNumber : std::uint8_t { pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6 };
enum TComPortBaudRate : std::uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
    br56000, br57600, br115200, br128000, br256000, brCustom
};
enum TComPortDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TComPortStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TComPortParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum TComPortHwHandshaking : std::uint8_t { hhNONE, hhRTSCTS };
enum TComPortSwHandshaking : std::uint8_t { shNONE, shXONXOFF };

class QTimer;
class TWritableWatch;

using TComPortReceiveDataEvent = std::function<void(QObject *Sender, const void *DataPtr, int DataSize)>;

// Owns one serial port: applies the line settings, polls for received bytes on the UI thread and
// hands them to OnReceiveData, sends with an output time-out, drives DTR and RTS.
// Not thread-safe: every call and every event happens on the thread that owns the object.
class TCommPortDriver : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TComPortNumber ComPort READ ComPort WRITE SetComPort)
    Q_PROPERTY(TComPortBaudRate ComPortSpeed READ ComPortSpeed WRITE SetComPortSpeed)
    Q_PROPERTY(TComPortDataBits ComPortDataBits READ ComPortDataBits WRITE SetComPortDataBits)
    Q_PROPERTY(TComPortStopBits ComPortStopBits READ ComPortStopBits WRITE SetComPortStopBits)
    Q_PROPERTY(TComPortParity ComPortParity READ ComPortParity WRITE SetComPortParity)
    Q_PROPERTY(TComPortHwHandshaking ComPortHwHandshaking READ ComPortHwHandshaking WRITE SetComPortHwHandshaking)
    Q_PROPERTY(TComPortSwHandshaking ComPortSwHandshaking READ ComPortSwHandshaking WRITE SetComPortSwHandshaking)
    Q_PROPERTY(std::uint16_t ComPortInBufSize READ ComPortInBufSize WRITE SetComPortInBufSize)
    Q_PROPERTY(std::uint16_t ComPortOutBufSize READ ComPortOutBufSize WRITE SetComPortOutBufSize)
    Q_PROPERTY(std::uint16_t ComPortPollingDelay READ ComPortPollingDelay WRITE SetComPortPollingDelay)
    Q_PROPERTY(bool EnableDTROnOpen READ EnableDTROnOpen WRITE SetEnableDTROnOpen)
    Q_PROPERTY(std::uint16_t OutputTimeout READ OutputTimeout WRITE SetOutputTimeout)
    Q_PROPERTY(std::int32_t CustomBR READ CustomBR WRITE SetCustomBR)
public:
    // platform: the serial layer to use; nullptr means the real POSIX one. Not owned.
    explicit TCommPortDriver(QObject *owner = nullptr, TSerialPlatform *platform = nullptr);
    ~TCommPortDriver() override;

    TComPortNumber ComPort() const;
    void SetComPort(TComPortNumber value);
    TComPortBaudRate ComPortSpeed() const;
    void SetComPortSpeed(TComPortBaudRate value);
    TComPortDataBits ComPortDataBits() const;
    void SetComPortDataBits(TComPortDataBits value);
    TComPortStopBits ComPortStopBits() const;
    void SetComPortStopBits(TComPortStopBits value);
    TComPortParity ComPortParity() const;
    void SetComPortParity(TComPortParity value);
    TComPortHwHandshaking ComPortHwHandshaking() const;
    void SetComPortHwHandshaking(TComPortHwHandshaking value);
    TComPortSwHandshaking ComPortSwHandshaking() const;
    void SetComPortSwHandshaking(TComPortSwHandshaking value);
    std::uint16_t ComPortInBufSize() const;
    // Only while closed; 0 is ignored (no byte could ever be read).
    void SetComPortInBufSize(std::uint16_t value);
    std::uint16_t ComPortOutBufSize() const;
    void SetComPortOutBufSize(std::uint16_t value);
    std::uint16_t ComPortPollingDelay() const;
    void SetComPortPollingDelay(std::uint16_t value);
    bool EnableDTROnOpen() const;
    void SetEnableDTROnOpen(bool value);
    std::uint16_t OutputTimeout() const;
    void SetOutputTimeout(std::uint16_t value);
    std::int32_t CustomBR() const;
    void SetCustomBR(std::int32_t value);

    bool IsOpen() const;
    // True when the port is open afterwards; false when it is missing, refused or in use (see
    // LastOpenFailure), or vanished while being set up.
    bool OpenPort();
    void ClosePort();
    void ApplyLineSettings();

    void PurgeBuffers(bool input, bool output);
    // ComPortOutBufSize minus the bytes waiting to go out, in 16 bits; -1 while closed.
    std::int16_t OutputFreeSpace();
    // Waits on this thread, without handling events, while the output queue is full. Returns the
    // bytes sent: 0 when closed or count <= 0, count when all went, minus the bytes sent when no
    // byte went for more than OutputTimeout ms or the device was lost.
    std::int32_t WriteBytes(const void *data, std::int32_t count);
    // Never waits: hands the port as many of the bytes as it takes at once, at most the room the
    // output queue has. Returns the bytes taken: 0 when closed, for count <= 0, when the queue
    // holds ComPortOutBufSize bytes or more, or when the port is full.
    std::int32_t WriteAvailable(const void *data, std::int32_t count);
    // Emits OutputReady once, from the event loop, when the port is worth offering bytes again
    // after a WriteAvailable that took none; soon when the port is closed or closes meanwhile.
    // A later request replaces a pending one.
    void NotifyOutputReady();
    void CancelOutputReady();
    bool WriteText(const QByteArray &text);
    void SetDTR(bool on);
    void SetRTS(bool on);
    // The level DTR and RTS last got from the line settings or SetDTR / SetRTS while open; RTS
    // reads false under RTS/CTS handshaking, where the port drives it.
    bool DTRLevel() const { return m_dtrLevel; }
    bool RTSLevel() const { return m_rtsLevel; }
    // False while closed or where the device has no modem lines.
    bool ReadModemInputs(TModemInputs &lines);
    // The open port for a thread that waits on its modem lines (no handle while closed); the port
    // stays open until PollStopped has been emitted.
    TModemLinePort ModemLinePort() const;
    // Holds the line in break for milliseconds, from the event loop: returns at once. A break
    // under way ends early when the port closes. Refused (false) while closed, during a break,
    // and while bytes wait to go out.
    bool SendBreak(int milliseconds);
    bool CanSendBreak();
    bool Breaking() const;
    // Bytes read and written since the last successful OpenPort.
    std::uint64_t BytesReceived() const { return m_bytesReceived; }
    std::uint64_t BytesSent() const { return m_bytesSent; }

    // Why the last OpenPort failed (None after a success) and which device it tried (empty before
    // the first attempt).
    TOpenFailure LastOpenFailure() const;
    QString LastOpenDevice() const;

    // Event properties: empty means unassigned.
    TComPortReceiveDataEvent OnReceiveData;
    // Raised once when the open device hangs up or disappears; the port is closed by then and can
    // be opened again. Called from inside whichever driver call found the loss.
    TNotifyEvent OnDeviceLost;

signals:
    // The poll starts at every successful open and when ComPortPollingDelay changes while open;
    // intervalMs 0 means "as soon as data waits".
    void PollStarted(int intervalMs);
    void PollStopped();
    void OutputReady();

private:
    template <typename T> void SetLineSetting(T &field, T value);
    TLineState BuildLineState() const;
    std::uint32_t Rate() const;
    void StartPolling();
    void StopPolling();
    // One read, handed to OnReceiveData when it brought bytes.
    TPollScheduler::TRead Poll();
    void WaitForRoom(TSerialStatus lastWrite);
    // True (after closing the port and telling the owner) when the call found the device gone.
    bool Lost(TSerialStatus status);
    void EndBreak();
    void CountSent(std::int32_t count);

    TSerialPlatform &m_platform;
    TPortHandle m_handle = kInvalidPortHandle;
    TComPortNumber m_comPort = pnCOM1;
    TComPortBaudRate m_speed = br9600;
    TComPortDataBits m_dataBits = db8BITS;
    TComPortStopBits m_stopBits = sb1BITS;
    TComPortParity m_parity = ptNONE;
    TComPortHwHandshaking m_hwHandshaking = hhNONE;
    TComPortSwHandshaking m_swHandshaking = shNONE;
    std::uint16_t m_inBufSize = 2048;
    std::uint16_t m_outBufSize = 2048;
    std::uint16_t m_pollingDelay = 50;
    bool m_enableDTROnOpen = true;
    std::uint16_t m_outputTimeout = 4000;
    std::unique_ptr<std::uint8_t[]> m_receiveBuffer;
    std::int32_t m_customBR = 4800;
    TPollScheduler *m_poll;
    TWritableWatch *m_outputWatch;
    // The last WriteAvailable was refused by a full port, whose descriptor can tell when it has room.
    bool m_outputRefused = false;
    bool m_opening = false;
    TOpenFailure m_lastOpenFailure = TOpenFailure::None;
    QString m_lastOpenDevice;
    bool m_dtrLevel = false;
    bool m_rtsLevel = false;
    QTimer *m_breakTimer;
    bool m_breaking = false;
    std::uint64_t m_bytesReceived = 0;
    std::uint64_t m_bytesSent = 0;
};
