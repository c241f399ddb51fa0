#include "rxhold.h"

#include <algorithm>

void TRxHold::Add(const char *data, qsizetype size, const TBoxSettings &settings,
                  const std::optional<QByteArray> &stamp)
{
    const qint64 added = size + qint64(sizeof(TEntry) + sizeof(TStampRun));
    if (m_dropping || Cost() + added > m_limit) {
        m_dropping = true;
        if (m_entries.empty() || !m_entries.back().Gap)
            Push(TEntry{0, settings, true}, std::nullopt);
        m_entries.back().Size += size;
        m_dropped += size;
        return;
    }
    PushBytes(data, size);
    m_bytes += size;
    Push(TEntry{size, settings, false}, stamp);
}

void TRxHold::AddNote(const QByteArray &note)
{
    PushBytes(note.constData(), note.size());
    Push(TEntry{note.size(), {}, false, true}, std::nullopt);
}

TRxHold::TBlock TRxHold::Take()
{
    const TEntry entry = m_entries.front();
    m_entries.pop_front();
    TBlock block{{}, entry.Settings, m_stamps.front().Stamp, 0};
    if (--m_stamps.front().Entries == 0)
        m_stamps.pop_front();
    if (entry.Gap) {
        block.Dropped = entry.Size;
        m_dropped -= entry.Size;
    } else if (entry.Note) {
        block.Bytes = PopBytes(entry.Size);
        block.Note = true;
    } else {
        block.Bytes = PopBytes(entry.Size);
        m_bytes -= entry.Size;
    }
    return block;
}

void TRxHold::Clear()
{
    m_entries.clear();
    m_stamps.clear();
    m_chunks.clear();
    m_readAt = 0;
    m_bytes = m_dropped = 0;
    m_dropping = false;
}

void TRxHold::Push(const TEntry &entry, const std::optional<QByteArray> &stamp)
{
    m_entries.push_back(entry);
    if (m_stamps.empty() || m_stamps.back().Stamp != stamp)
        m_stamps.push_back(TStampRun{stamp, 0});
    ++m_stamps.back().Entries;
}

qint64 TRxHold::Cost() const
{
    return m_bytes + qint64(m_entries.size() * sizeof(TEntry) + m_stamps.size() * sizeof(TStampRun));
}

void TRxHold::PushBytes(const char *data, qsizetype size)
{
    while (size > 0) {
        if (m_chunks.empty() || m_chunks.back().size() == kChunkSize) {
            m_chunks.emplace_back();
            m_chunks.back().reserve(kChunkSize);
        }
        QByteArray &chunk = m_chunks.back();
        const qsizetype piece = std::min(size, kChunkSize - chunk.size());
        chunk.append(data, piece);
        data += piece;
        size -= piece;
    }
}

QByteArray TRxHold::PopBytes(qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size);
    while (size > 0) {
        const QByteArray &chunk = m_chunks.front();
        const qsizetype piece = std::min(size, chunk.size() - m_readAt);
        bytes.append(chunk.constData() + m_readAt, piece);
        m_readAt += piece;
        size -= piece;
        if (m_readAt == chunk.size() && chunk.size() == kChunkSize) {
            m_chunks.pop_front();
            m_readAt = 0;
        }
    }
    return bytes;
}
