#include "filesender.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr qint64 kChunkSize = 64 * 1024;
// Small enough that a write never waits long for the line and the event loop soon gets its turn
// again; large enough that a fast line is kept busy.
constexpr std::int32_t kLargestWrite = 1024;
// How often a full output queue is looked at again.
constexpr int kRoomPollMs = 5;

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
    m_stepTimer.start(0);
    return true;
}

void TFileSender::Stop()
{
    if (IsRunning())
        Finish(TFileSendEnd::Stopped);
}

void TFileSender::Step()
{
    if (m_portWasOpen && !m_port.IsOpen())
        return Finish(TFileSendEnd::PortClosed);
    if (m_chunkPos == m_chunk.size() && !FillChunk())
        return;
    // Dropped as a whole even when the port opens meanwhile: the device never gets just a tail.
    if (!m_portWasOpen)
        return Advance(m_chunk.size() - m_chunkPos, 0);
    SendSome();
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
    // A queue at or beyond the driver's output size has no room, although WriteBytes would read a
    // negative count as plenty and then wait for the line inside the call, holding the window up.
    const std::int16_t room = m_port.OutputFreeSpace();
    if (room <= 0)
        return WaitForRoom();
    const qint64 left = m_chunk.size() - m_chunkPos;
    const auto count = static_cast<std::int32_t>(std::min<qint64>({left, qint64(room), kLargestWrite}));
    const std::int32_t result = m_port.WriteBytes(m_chunk.constData() + m_chunkPos, count);
    const qint64 sent = std::min<qint64>(std::llabs(result), count);
    if (sent == count)
        Advance(count, 0);
    else
        Advance(sent + 1, 1); // the byte the output time-out caught
    // When the queue set the limit, the line needs a moment before there is room again.
    m_stepTimer.setInterval(count == room && count < left ? kRoomPollMs : 0);
}

void TFileSender::WaitForRoom()
{
    if (m_sinceProgress.elapsed() > m_port.OutputTimeout())
        return Advance(1, 1);
    m_stepTimer.setInterval(kRoomPollMs);
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
    m_file.close();
    m_chunk = QByteArray();
    m_chunkPos = 0;
    emit Finished(end);
}
