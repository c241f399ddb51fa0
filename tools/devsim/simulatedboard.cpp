#include "simulatedboard.h"

#include <QFile>
#include <QFileInfo>

TSimulatedBoard::TSimulatedBoard(const TDevSimOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_output(m_device, options.Baud)
    , m_flood(options.FloodRate, options.FloodPattern)
{
    connect(&m_device, &TPtyDevice::Received, this,
            [this](const QByteArray &bytes) { m_output.Send(m_responder.Answer(bytes)); });
    connect(&m_sensorTimer, &QTimer::timeout, this, &TSimulatedBoard::SendSensorLine);
    connect(&m_floodTimer, &QTimer::timeout, this, &TSimulatedBoard::Flood);
}

TSimulatedBoard::~TSimulatedBoard()
{
    m_lease.reset();
    if (m_linked && QFileInfo(m_options.LinkPath).symLinkTarget() == m_device.SlavePath())
        QFile::remove(m_options.LinkPath);
}

bool TSimulatedBoard::Start(QString *error)
{
    if (!m_device.Open(error) || !MakeLink(error))
        return false;
    if (m_options.ComNumber > 0) {
        const QString name = TComPortMap::PortName(m_options.ComNumber);
        m_lease = std::make_unique<TPortMapLease>(name, DevicePath());
        if (!m_lease->IsHeld()) {
            *error = QStringLiteral("cannot write %1 into the port map").arg(name);
            return false;
        }
    }
    if (!m_options.Quiet)
        m_sensorTimer.start(kSensorIntervalMs);
    if (m_options.FloodRate > 0) {
        m_floodClock.start();
        m_floodTimer.start(kFloodTickMs);
    }
    return true;
}

QString TSimulatedBoard::DevicePath() const
{
    return m_linked ? m_options.LinkPath : m_device.SlavePath();
}

bool TSimulatedBoard::MakeLink(QString *error)
{
    if (m_options.LinkPath.isEmpty())
        return true;
    const QFileInfo existing(m_options.LinkPath);
    // Replace a stale link from an earlier run, never a real file.
    if (existing.isSymLink())
        QFile::remove(m_options.LinkPath);
    m_linked = QFile::link(m_device.SlavePath(), m_options.LinkPath);
    if (!m_linked)
        *error = QStringLiteral("cannot create the link %1").arg(m_options.LinkPath);
    return m_linked;
}

void TSimulatedBoard::SendSensorLine()
{
    // A slow, repeating drift, so that the lines look alive but stay predictable.
    const int step = m_sensorCount++ % 8;
    const double temperature = 21.4 + (step < 4 ? step : 8 - step) * 0.1;
    const int humidity = 40 + (step / 3);
    m_output.Send(QStringLiteral("T=%1C H=%2%\r\n").arg(temperature, 0, 'f', 1).arg(humidity).toLatin1());
}

void TSimulatedBoard::Flood()
{
    // Keep at most half the output buffer queued, so a slow reader slows the flood instead of
    // losing payload.
    const qsizetype room = TPtyDevice::kMaxPending / 2 - m_output.Pending();
    if (room > 0)
        m_output.Send(m_flood.Take(m_floodClock.elapsed(), room));
}
