#include "receivedisplay.h"

#include "bytecolumn.h"
#include "hexbyte.h"
#include "localclock.h"
#include "memolines.h"
#include "rxlog.h"

#include <QScopeGuard>

#include <algorithm>
#include <optional>

TReceiveDisplay::TReceiveDisplay(TMemoLines &box, TByteColumn &dec, TByteColumn &hex,
                                 TByteColumn &bin, TClock &clock)
    : m_box(box)
    , m_dec(dec)
    , m_hex(hex)
    , m_bin(bin)
    , m_clock(clock)
    , m_stamper(clock)
    , m_dump(box)
{
}

// The log goes first for the whole block: the display steps cannot fail, so showing exactly the
// bytes before a failed record afterwards gives the same result as interleaving byte by byte.
void TReceiveDisplay::Receive(const void *data, int size, const TReceiveOptions &options,
                              TRxLog *log)
{
    if (size <= 0)
        return;
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    std::optional<TLogWriteError> failure;
    try {
        if (log)
            log->WriteRecords(bytes, size, options.HexMode, options.TimeStamps, options.LogStampFormat);
    } catch (const TLogWriteError &error) {
        failure = error;
    }
    // The failing byte is counted and shown in the columns and in HEX, which come before its
    // record; its String step, which comes after, never runs, nor does the final write-back.
    const int shown = failure ? failure->Index + 1 : size;
    Count(bytes, shown, options.CountTarget);
    FillColumns(bytes, shown, options);
    const TBoxSettings settings{options.HexMode, options.TimeStamps,  options.CrIsLf,
                                !failure,        options.StampFormat, options.KeptLines,
                                options.HexRows};
    const int boxBytes = options.HexMode || !failure ? shown : failure->Index;
    if (m_paused || !m_hold.IsEmpty()) {
        const auto stamp = options.TimeStamps ? std::optional(ArrivalStamp(options.StampFormat)) : std::nullopt;
        m_hold.Add(reinterpret_cast<const char *>(bytes), boxBytes, settings, stamp);
        if (OnWaitingChanged)
            OnWaitingChanged();
    } else {
        m_box.BeginUpdate();
        ShowInBox(bytes, boxBytes, settings);
        m_box.EndUpdate();
    }
    if (failure)
        throw *failure;
}

bool TReceiveDisplay::ShowWaiting(qint64 budget)
{
    m_box.BeginUpdate();
    const auto endUpdate = qScopeGuard([this] {
        m_heldStamp.reset();
        m_box.EndUpdate();
    });
    while (budget > 0 && !m_hold.IsEmpty()) {
        const TRxHold::TBlock block = m_hold.Take();
        if (block.Dropped > 0) {
            ShowDropped(block.Dropped, block.Settings.HexMode);
            continue;
        }
        if (block.Note) {
            ShowNote(block.Bytes);
            continue;
        }
        m_heldStamp = block.Stamp;
        ShowInBox(reinterpret_cast<const std::uint8_t *>(block.Bytes.constData()), int(block.Bytes.size()),
                  block.Settings);
        budget -= block.Bytes.size();
    }
    return !m_hold.IsEmpty();
}

QByteArray TReceiveDisplay::DroppedNote(qint64 bytes)
{
    return "*** " + QByteArray::number(bytes) + " bytes dropped: the pause held all it could (256 MiB) ***";
}

// The box's steps for one block, each block as one call: the line limit, the line in progress
// read back, then HEX values or lines.
void TReceiveDisplay::ShowInBox(const std::uint8_t *data, int size, const TBoxSettings &settings)
{
    if (settings.KeptLines <= 0 && m_box.Count() > kMaxLines) {
        m_box.Clear();
        m_dump.Break(true);
    }
    m_stampFormat = settings.StampFormat;
    m_line.clear();
    if (!settings.HexMode && m_box.Count() != 0) {
        const QByteArray last = m_box.Get(m_box.Count() - 1);
        m_line.assign(last.constData(), std::size_t(last.size()));
    }
    m_lineShown = !m_line.empty();
    if (settings.HexMode) {
        ShowHex(data, size, settings);
    } else {
        m_dump.Break();
        AssembleLines(data, size, settings);
        if (settings.WriteBack && !m_line.empty())
            WriteBack(settings.TimeStamps);
    }
    m_sinceClear += size;
    LimitLines(settings.KeptLines);
}

// Dump rows go on from the dump's short row only while nothing else wrote to the box.
void TReceiveDisplay::ShowHex(const std::uint8_t *data, int size, const TBoxSettings &settings)
{
    if (settings.HexRows) {
        m_dump.Append(data, size, m_sinceClear);
    } else {
        m_dump.Break();
        AppendHex(data, size);
    }
}

// Only the newest lines are kept; a line that arrives in several reads is one of them all along.
void TReceiveDisplay::LimitLines(int keptLines)
{
    if (keptLines > 0 && m_box.Count() > keptLines)
        m_box.DropFirstRows(m_box.Count() - keptLines);
}

// The note goes on a row of its own. After it String mode finds an empty line in progress, as
// after a line end, and HEX values start a new row.
void TReceiveDisplay::ShowDropped(qint64 bytes, bool hexMode)
{
    m_dump.Break();
    m_sinceClear += bytes;
    const QByteArray note = DroppedNote(bytes);
    const QByteArray end = hexMode ? "\r\n" : "\r\n\r\n";
    const int last = m_box.RowCount() - 1;
    if (!m_box.Get(last).isEmpty()) {
        m_box.Append("\r\n" + note + end);
    } else if (last > 0 && m_box.Get(last - 1).isEmpty()) {
        m_box.Put(last - 1, note);
        if (!hexMode)
            m_box.Add({});
    } else {
        m_box.Append(note + end);
    }
}

void TReceiveDisplay::AddNote(QByteArrayView note)
{
    if (m_paused || !m_hold.IsEmpty()) {
        m_hold.AddNote(note.toByteArray());
        return;
    }
    m_box.BeginUpdate();
    ShowNote(note);
    m_box.EndUpdate();
}

void TReceiveDisplay::ShowNote(QByteArrayView note)
{
    m_dump.Break();
    const int last = m_box.Count() - 1;
    if (last >= 0 && m_box.Get(last).isEmpty())
        m_box.Put(last, note);
    else
        m_box.Add(note);
    m_box.Add({});
}

void TReceiveDisplay::ClearAll()
{
    if (!m_hold.IsEmpty()) {
        m_hold.Clear();
        if (OnWaitingChanged)
            OnWaitingChanged();
    }
    m_box.Clear();
    m_dump.Break();
    m_sinceClear = 0;
    m_dec.Clear();
    m_hex.Clear();
    m_bin.Clear();
}

void TReceiveDisplay::ResetCounter()
{
    m_charCount = 0;
}

int TReceiveDisplay::CountTargetFromText(const QString &text)
{
    bool isNumber = false;
    const int value = text.trimmed().toInt(&isNumber, 10);
    return isNumber ? value : 0;
}

// The count wraps as a 32-bit register would instead of overflowing.
void TReceiveDisplay::Count(const std::uint8_t *data, int size, int target)
{
    if (target < 0 || target > 255)
        return;
    const auto matches = std::count(data, data + size, std::uint8_t(target));
    if (matches == 0)
        return;
    m_charCount = std::int32_t(std::uint32_t(m_charCount) + std::uint32_t(matches));
    if (OnCountChanged)
        OnCountChanged(m_charCount);
}

void TReceiveDisplay::FillColumns(const std::uint8_t *data, int size,
                                  const TReceiveOptions &options)
{
    if (options.DecColumn)
        m_dec.Append(data, size);
    if (options.HexColumn)
        m_hex.Append(data, size);
    if (options.BinColumn)
        m_bin.Append(data, size);
}

void TReceiveDisplay::AppendHex(const std::uint8_t *data, int size)
{
    QByteArray text(qsizetype(size) * 3, Qt::Uninitialized);
    char *out = text.data();
    for (int i = 0; i < size; ++i) {
        out = PutHexByte(out, data[i]);
        *out++ = ' ';
    }
    m_box.Append(text);
}

void TReceiveDisplay::AssembleLines(const std::uint8_t *data, int size,
                                    const TBoxSettings &settings)
{
    int at = 0;
    while (at < size) {
        int end = at;
        while (end < size && data[end] != '\b' && data[end] != '\n' && data[end] != '\r')
            ++end;
        m_line.append(reinterpret_cast<const char *>(data + at), std::size_t(end - at));
        if (end == size)
            break;
        const std::uint8_t control = data[end];
        if (control == '\b') {
            if (!m_line.empty())
                m_line.pop_back();
        } else if (control == '\r' || settings.CrIsLf) {
            LineEnd(settings.TimeStamps);
        }
        at = end + 1;
    }
}

void TReceiveDisplay::LineEnd(bool stamp)
{
    WriteBack(stamp);
    m_box.Add({});
    m_line.clear();
    m_lineShown = false;
}

// A line that arrives over several reads is stamped at its first write-back only: the stamp then
// is part of the box's text, and the later parts are read back with it. The stamped line is built
// in a buffer of its own that keeps its storage from line to line.
void TReceiveDisplay::WriteBack(bool stamp)
{
    QByteArrayView text(m_line.data(), qsizetype(m_line.size()));
    if (stamp && !m_lineShown) {
        const QByteArray time = StampText();
        m_stamped.assign(time.constData(), std::size_t(time.size()));
        m_stamped.append("> ").append(m_line);
        text = QByteArrayView(m_stamped.data(), qsizetype(m_stamped.size()));
    }
    const int count = m_box.Count();
    if (count != 0)
        m_box.Put(count - 1, text);
    else
        m_box.Add(text);
}

// A block that waited for a paused box keeps the moment it came: its text, or for the time since
// the stamp before, the steady clock's reading, as that time is known only when it is shown.
QByteArray TReceiveDisplay::ArrivalStamp(TStampFormat format)
{
    switch (format) {
    case TStampFormat::Milliseconds: return m_clock.MillisecondTimeText();
    case TStampFormat::Delta: return QByteArray::number(m_clock.SteadyMs());
    case TStampFormat::Regional: break;
    }
    return m_clock.TimeText();
}

QByteArray TReceiveDisplay::StampText()
{
    if (!m_heldStamp)
        return m_stamper.Text(m_stampFormat);
    if (m_stampFormat == TStampFormat::Delta)
        return m_stamper.DeltaText(m_heldStamp->toLongLong());
    m_stamper.Restart();
    return *m_heldStamp;
}
