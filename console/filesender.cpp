#include "filesender.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr qint64 kChunkSize = 64 * 1024;

constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

// Only a regular file has an end and reads without blocking; opening a device to find out could
// already disturb it. A file without write permission counts as read-only even for root, who could
// open it for writing anyway.
bool IsSendableFile(const QFileInfo &info)
{
    return info.isFile() && (info.permissions() & kAnyWrite);
}

} // namespace

TFileSender::TFileSender(TFileSendPort &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
{
    m_stepTimer.setSingleShot(true);
    // A coarse timer may end the wait for a full port before its time-out is up.
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &TFileSender::Step);
}

bool TFileSender::Start(const QString &path)
{
    if (IsRunning() || !IsSendableFile(QFileInfo(path)))
        return false;
    m_file.setFileName(path);
    // Opened for writing as well, although nothing is written, so that a read-only file is refused.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    if (m_file.isSequential()) {
        m_file.close();
        return false;
    }
    m_total = m_file.size();
    m_done = 0;
    m_lost = 0;
    m_chunk.clear();
    m_chunkPos = 0;
    m_portWasOpen = m_port.IsOpen();
    m_sinceProgress.start();
    StepSoon();
    return true;
}

void TFileSender::Stop()
{
    if (IsRunning())
        Finish(TFileSendEnd::Stopped);
}

void TFileSender::Step()
{
    m_stepTimer.stop();
    m_port.CancelWhenWritable();
    if (m_portWasOpen && !m_port.IsOpen())
        return Finish(TFileSendEnd::PortClosed);
    if (m_chunkPos == m_chunk.size() && !FillChunk())
        return;
    // Dropped as a whole even when the port opens meanwhile: the device never gets just a tail.
    if (!m_portWasOpen) {
        const qsizetype dropped = m_chunk.size() - m_chunkPos;
        Advance(dropped, dropped);
        return StepSoon();
    }
    SendSome();
}

// A Progress handler may have stopped the send.
void TFileSender::StepSoon()
{
    if (IsRunning())
        m_stepTimer.start(0);
}

bool TFileSender::FillChunk()
{
    m_chunk.resize(kChunkSize);
    const qint64 got = m_file.read(m_chunk.data(), kChunkSize);
    if (got <= 0) {
        Finish(got == 0 ? TFileSendEnd::Completed : TFileSendEnd::ReadError);
        return false;
    }
    m_chunk.resize(got);
    m_chunkPos = 0;
    return true;
}

void TFileSender::SendSome()
{
    const auto offered = static_cast<std::int32_t>(m_chunk.size() - m_chunkPos);
    // Room for less than offered may still leave room for more: only a port that took nothing
    // is waited for.
    const std::int32_t taken = m_port.WriteAvailable(m_chunk.constData() + m_chunkPos, offered);
    if (taken > 0)
        Advance(taken, 0);
    else if (m_sinceProgress.elapsed() > m_port.OutputTimeout())
        Advance(1, 1); // the byte the output time-out caught
    else
        return WaitForPort();
    StepSoon();
}

// Whichever comes first: the port has room, or the output time-out is up for the waiting byte.
void TFileSender::WaitForPort()
{
    if (!IsRunning())
        return;
    const qint64 left = qint64(m_port.OutputTimeout()) - m_sinceProgress.elapsed();
    m_stepTimer.start(int(std::max<qint64>(left, 0)) + 1);
    m_port.WhenWritable([this] { Step(); });
}

void TFileSender::Advance(qint64 handled, qint64 lost)
{
    m_chunkPos += handled;
    m_done += handled;
    m_lost += lost;
    m_total = std::max(m_total, m_done);
    m_sinceProgress.restart();
    emit Progress(m_done, m_total);
}

void TFileSender::Finish(TFileSendEnd end)
{
    m_stepTimer.stop();
    m_port.CancelWhenWritable();
    m_file.close();
    m_chunk = QByteArray();
    m_chunkPos = 0;
    m_end = end;
    emit Finished(end);
}

QString TFileSender::Summary() const
{
    const qint64 sent = m_done - m_lost;
    const QString name = QFileInfo(m_file.fileName()).fileName();
    QString text = m_end == TFileSendEnd::Completed
        ? QStringLiteral("Sent %1: %2 %3").arg(name).arg(sent).arg(sent == 1 ? "byte" : "bytes")
        : QStringLiteral("Stopped after %1 of %2 bytes").arg(sent).arg(m_total);
    if (m_lost > 0)
        text += QStringLiteral(", %1 lost").arg(m_lost);
    if (m_end == TFileSendEnd::ReadError)
        text += QStringLiteral(": file read error");
    return text;
}
