#pragma once

#include "timestamper.h"

#include <QByteArray>

#include <deque>
#include <optional>

// How a block is to be shown in the receive box: the controls as they read when it arrived.
struct TBoxSettings
{
    bool HexMode = false;
    bool TimeStamps = false;
    bool CrIsLf = false;
    // False when a failed log write ended the block: its line in progress is not written back.
    bool WriteBack = true;
    TStampFormat StampFormat = TStampFormat::Regional;
    int KeptLines = 0;
    bool HexRows = false;
    friend bool operator==(const TBoxSettings &, const TBoxSettings &) = default;
};

// The blocks that wait for a paused receive box, in order of arrival, each with the settings and
// the time stamp of its arrival, so that the box can show each later as the call it was. Holds
// at most kLimit bytes of memory, the blocks' bytes and their bookkeeping together; a block
// beyond that, and every one after it until the pause ends, is not kept but counted as a gap in
// its place, so the box can say how much it never got. The bytes lie back to back in large
// chunks, so that a slow line's blocks of a byte or two cost a few bytes each and no allocation.
class TRxHold
{
public:
    static constexpr qint64 kLimit = qint64(256) << 20;

    struct TBlock
    {
        QByteArray Bytes;
        TBoxSettings Settings;
        // The time text at arrival, when time stamps were on.
        std::optional<QByteArray> Stamp;
        // A gap: this many bytes arrived here and were not kept.
        qint64 Dropped = 0;
        // Bytes is a line of the window's own, not received.
        bool Note = false;
    };

    // Keeps the block, or counts it as dropped when it would pass the limit; from then on every
    // block is dropped until Reopen.
    void Add(const char *data, qsizetype size, const TBoxSettings &settings,
             const std::optional<QByteArray> &stamp);
    // A line of the window's own, kept in its place whatever the limit (it is short and rare);
    // it counts as no waiting byte.
    void AddNote(const QByteArray &note);
    void Reopen() { m_dropping = false; }
    bool IsEmpty() const { return m_entries.empty(); }
    // The oldest block; the hold must not be empty.
    TBlock Take();
    void Clear();
    qint64 WaitingBytes() const { return m_bytes; }
    qint64 DroppedBytes() const { return m_dropped; }
    // For tests; the default is kLimit.
    void SetLimit(qint64 limit) { m_limit = limit; }

private:
    struct TEntry
    {
        qint64 Size = 0;
        TBoxSettings Settings;
        bool Gap = false;
        bool Note = false;
    };
    // Consecutive entries that share a stamp, which arrive within the same second or so.
    struct TStampRun
    {
        std::optional<QByteArray> Stamp;
        qint64 Entries = 0;
    };
    static constexpr qsizetype kChunkSize = qsizetype(1) << 16;

    void Push(const TEntry &entry, const std::optional<QByteArray> &stamp);
    qint64 Cost() const;
    void PushBytes(const char *data, qsizetype size);
    QByteArray PopBytes(qsizetype size);

    std::deque<TEntry> m_entries;
    std::deque<TStampRun> m_stamps;
    std::deque<QByteArray> m_chunks;
    qsizetype m_readAt = 0;
    qint64 m_bytes = 0;
    qint64 m_dropped = 0;
    qint64 m_limit = kLimit;
    bool m_dropping = false;
};
