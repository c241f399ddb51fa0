#include "commportdriver.h"

#include "pollscheduler.h"
#include "writablewatch.h"

#include <QTimer>

#include <array>

namespace {

constexpr std::array<std::uint32_t, brCustom> kSpeedTable = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000,
};
constexpr char kXon = 17;
constexpr char kXoff = 19;
// The read returns at once with what has arrived; writes have no platform time-out.
constexpr TCommTimeouts kPortTimeouts{1, 0, 1, 0, 0};

} // namespace

TCommPortDriver::TCommPortDriver(QObject *owner, TSerialPlatform *platform)
    : QObject(owner)
    , m_platform(platform ? *platform : DefaultSerialPlatform())
    , m_receiveBuffer(std::make_unique<std::uint8_t[]>(m_inBufSize))
    , m_poll(new TPollScheduler([this] { return Poll(); }, this))
    , m_outputWatch(new TWritableWatch([this] { emit OutputReady(); }, this))
    , m_breakTimer(new QTimer(this))
{
    m_breakTimer->setSingleShot(true);
    connect(m_breakTimer, &QTimer::timeout, this, &TCommPortDriver::EndBreak);
}

TCommPortDriver::~TCommPortDriver()
{
    ClosePort();
}

TComPortNumber TCommPortDriver::ComPort() const { return m_comPort; }
TComPortBaudRate TCommPortDriver::ComPortSpeed() const { return m_speed; }
TComPortDataBits TCommPortDriver::ComPortDataBits() const { return m_dataBits; }
TComPortStopBits TCommPortDriver::ComPortStopBits() const { return m_stopBits; }
TComPortParity TCommPortDriver::ComPortParity() const { return m_parity; }
TComPortHwHandshaking TCommPortDriver::ComPortHwHandshaking() const { return m_hwHandshaking; }
TComPortSwHandshaking TCommPortDriver::ComPortSwHandshaking() const { return m_swHandshaking; }
std::uint16_t TCommPortDriver::ComPortInBufSize() const { return m_inBufSize; }
std::uint16_t TCommPortDriver::ComPortOutBufSize() const { return m_outBufSize; }
std::uint16_t TCommPortDriver::ComPortPollingDelay() const { return m_pollingDelay; }
bool TCommPortDriver::EnableDTROnOpen() const { return m_enableDTROnOpen; }
std::uint16_t TCommPortDriver::OutputTimeout() const { return m_outputTimeout; }
std::int32_t TCommPortDriver::CustomBR() const { return m_customBR; }
TOpenFailure TCommPortDriver::LastOpenFailure() const { return m_lastOpenFailure; }
QString TCommPortDriver::LastOpenDevice() const { return m_lastOpenDevice; }

void TCommPortDriver::SetComPort(TComPortNumber value)
{
    if (!IsOpen())
        m_comPort = value;
}

template <typename T> void TCommPortDriver::SetLineSetting(T &field, T value)
{
    field = value;
    ApplyLineSettings();
}

void TCommPortDriver::SetComPortSpeed(TComPortBaudRate value) { SetLineSetting(m_speed, value); }
void TCommPortDriver::SetComPortDataBits(TComPortDataBits value) { SetLineSetting(m_dataBits, value); }
void TCommPortDriver::SetComPortStopBits(TComPortStopBits value) { SetLineSetting(m_stopBits, value); }
void TCommPortDriver::SetComPortParity(TComPortParity value) { SetLineSetting(m_parity, value); }

void TCommPortDriver::SetComPortHwHandshaking(TComPortHwHandshaking value)
{
    SetLineSetting(m_hwHandshaking, value);
}

void TCommPortDriver::SetComPortSwHandshaking(TComPortSwHandshaking value)
{
    SetLineSetting(m_swHandshaking, value);
}

void TCommPortDriver::SetComPortInBufSize(std::uint16_t value)
{
    // A zero-byte buffer could never take a byte: every poll would leave the data waiting.
    if (IsOpen() || value == 0)
        return;
    m_receiveBuffer = std::make_unique<std::uint8_t[]>(value);
    m_inBufSize = value;
}

void TCommPortDriver::SetComPortOutBufSize(std::uint16_t value) { m_outBufSize = value; }
void TCommPortDriver::SetEnableDTROnOpen(bool value) { m_enableDTROnOpen = value; }
void TCommPortDriver::SetOutputTimeout(std::uint16_t value) { m_outputTimeout = value; }
void TCommPortDriver::SetCustomBR(std::int32_t value) { m_customBR = value; }

void TCommPortDriver::SetComPortPollingDelay(std::uint16_t value)
{
    if (value == m_pollingDelay)
        return;
    const bool open = IsOpen();
    if (open)
        StopPolling();
    m_pollingDelay = value;
    if (open)
        StartPolling();
}

bool TCommPortDriver::IsOpen() const
{
    return m_handle != kInvalidPortHandle;
}

bool TCommPortDriver::OpenPort()
{
    if (IsOpen())
        return true;
    const QString name = QStringLiteral("COM") + QChar(u'1' + m_comPort);
    const TSerialOpenResult opened = m_platform.Open(name);
    m_handle = opened.Handle;
    m_lastOpenFailure = opened.Failure;
    m_lastOpenDevice = opened.Device;
    if (!IsOpen())
        return false;
    m_bytesReceived = m_bytesSent = 0;
    // A device that vanishes while being set up is a failed open, not a lost device.
    m_opening = true;
    ApplyLineSettings();
    if (IsOpen() && !Lost(m_platform.SetTimeouts(m_handle, kPortTimeouts)))
        StartPolling();
    m_opening = false;
    if (!IsOpen())
        m_lastOpenFailure = TOpenFailure::Other;
    return IsOpen();
}

void TCommPortDriver::ClosePort()
{
    if (!IsOpen())
        return;
    StopPolling();
    EndBreak();
    // A writer waiting for room must learn that none will come; the descriptor goes away here.
    if (m_outputWatch->IsRunning())
        m_outputWatch->FireSoon();
    m_platform.Close(m_handle);
    m_handle = kInvalidPortHandle;
}

void TCommPortDriver::ApplyLineSettings()
{
    if (!IsOpen())
        return;
    const TLineState state = BuildLineState();
    if (Lost(m_platform.SetLineState(m_handle, state)))
        return;
    m_dtrLevel = state.fDtrControl == 1;
    m_rtsLevel = state.fRtsControl == 1;
    PurgeBuffers(true, true);
    if (IsOpen())
        Lost(m_platform.SetupQueues(m_handle, m_inBufSize, m_outBufSize));
}

TLineState TCommPortDriver::BuildLineState() const
{
    const bool rtsCts = m_hwHandshaking == hhRTSCTS;
    const bool xonXoff = m_swHandshaking == shXONXOFF;
    TLineState state;
    state.BaudRate = Rate();
    state.fBinary = true;
    state.fOutxCtsFlow = rtsCts;
    state.fDtrControl = m_enableDTROnOpen ? 1 : 0;
    state.fOutX = xonXoff;
    state.fInX = xonXoff;
    state.fRtsControl = rtsCts ? 2 : 0;
    state.XonLim = m_inBufSize / 4;
    state.XoffLim = 1;
    state.ByteSize = m_dataBits + 5;
    state.Parity = m_parity;
    state.StopBits = m_stopBits;
    state.XonChar = kXon;
    state.XoffChar = kXoff;
    return state;
}

std::uint32_t TCommPortDriver::Rate() const
{
    // A negative custom rate reads as a huge one, and a speed outside the table as none: the
    // platform refuses both.
    if (m_speed == brCustom)
        return static_cast<std::uint32_t>(m_customBR);
    return m_speed < kSpeedTable.size() ? kSpeedTable[m_speed] : 0;
}

void TCommPortDriver::StartPolling()
{
    const int descriptor = m_pollingDelay == 0 ? m_platform.ReadinessDescriptor(m_handle) : -1;
    m_poll->Start(m_pollingDelay, descriptor);
    emit PollStarted(m_pollingDelay);
}

void TCommPortDriver::StopPolling()
{
    m_poll->Stop();
    emit PollStopped();
}

bool TCommPortDriver::Lost(TSerialStatus status)
{
    if (status != TSerialStatus::Gone)
        return false;
    ClosePort();
    if (!m_opening)
        Raise(TNotifyEvent(OnDeviceLost), this);   // a copy: the handler may reassign the event
    return true;
}
