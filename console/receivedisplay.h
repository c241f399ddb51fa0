#pragma once

#include "hexdumprows.h"
#include "rxhold.h"
#include "timestamper.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class TByteColumn;
class TClock;
class TMemoLines;
class TRxLog;

// The controls that steer the display, as they read at the moment of the call.
struct TReceiveOptions
{
    bool HexMode = false;
    bool TimeStamps = false;
    bool CrIsLf = false;
    bool DecColumn = false;
    bool HexColumn = false;
    bool BinColumn = false;
    // The counted character code; values outside 0..255 match no byte.
    int CountTarget = 13;
    // The additions, at the designed behaviour by default.
    TStampFormat StampFormat = TStampFormat::Regional;
    TStampFormat LogStampFormat = TStampFormat::Regional;
    // Lines kept, the oldest dropped as new ones come; 0 clears the box past kMaxLines instead.
    int KeptLines = 0;
    bool HexRows = false;
};

// Turns each received block into what the receive box, the value columns and the character
// counter show, and has the open log write its records. String mode keeps no state between
// calls: the line still being received lives in the box as its last line. A time stamp goes in
// front of a line once, when its first part is shown. Beyond the designed box, the options may
// ask for another form of stamp, a scroll-back that drops the oldest lines instead of clearing,
// and HEX mode as dump rows. Work per block is bounded by the block and the few rows it touches,
// not by what the box already holds.
class TReceiveDisplay
{
public:
    static constexpr int kMaxLines = 500;

    TReceiveDisplay(TMemoLines &box, TByteColumn &dec, TByteColumn &hex, TByteColumn &bin,
                    TClock &clock);

    // log: the open receive log, or nullptr. A failed log write (TLogWriteError) ends the block
    // at the byte being logged: earlier bytes are shown, later ones neither shown nor logged.
    // The box announces the changes of a block once, when the block is done.
    void Receive(const void *data, int size, const TReceiveOptions &options, TRxLog *log);
    // A line of the window's own (String mode), on a line of its own between received lines;
    // never logged or counted. What arrives next starts a new line. While the box is paused it
    // waits in its place among the blocks.
    void AddNote(QByteArrayView note);
    // Empties the box and the three columns; the counter stays. Blocks waiting for a paused box
    // go too, as they would have been shown before the clear. Offsets of hex dump rows count
    // from here.
    void ClearAll();
    void ResetCounter();
    std::int32_t CharCount() const { return m_charCount; }

    // The spin edit's text read as a whole number; text that is not a number counts as 0.
    static int CountTargetFromText(const QString &text);

    // Called with the new count whenever a block matched the counted code at least once.
    std::function<void(std::int32_t)> OnCountChanged;

    // While paused the box shows no new block; the counter, the columns and the log go on. The
    // blocks wait in order, and new ones wait behind them until all are shown.
    void Pause() { m_paused = true; }
    void Resume()
    {
        m_paused = false;
        m_hold.Reopen();
    }
    bool Paused() const { return m_paused; }
    // Shows waiting blocks in order of arrival, as they would have been shown then, until about
    // budget bytes are shown; a gap shows as a line with the number of bytes that were dropped.
    // Returns whether some still wait.
    bool ShowWaiting(qint64 budget);
    TRxHold &Waiting() { return m_hold; }
    const TRxHold &Waiting() const { return m_hold; }
    // Called after each block that was put to wait.
    std::function<void()> OnWaitingChanged;
    static QByteArray DroppedNote(qint64 bytes);

private:
    void Count(const std::uint8_t *data, int size, int target);
    void FillColumns(const std::uint8_t *data, int size, const TReceiveOptions &options);
    void ShowInBox(const std::uint8_t *data, int size, const TBoxSettings &settings);
    void ShowDropped(qint64 bytes, bool hexMode);
    void ShowNote(QByteArrayView note);
    void ShowHex(const std::uint8_t *data, int size, const TBoxSettings &settings);
    void LimitLines(int keptLines);
    void AppendHex(const std::uint8_t *data, int size);
    void AssembleLines(const std::uint8_t *data, int size, const TBoxSettings &settings);
    void LineEnd(bool stamp);
    void WriteBack(bool stamp);
    QByteArray ArrivalStamp(TStampFormat format);
    QByteArray StampText();

    TMemoLines &m_box;
    TByteColumn &m_dec;
    TByteColumn &m_hex;
    TByteColumn &m_bin;
    TClock &m_clock;
    TTimeStamper m_stamper;
    THexDumpRows m_dump;
    // Bytes shown since the last ClearAll, in any mode.
    std::int64_t m_sinceClear = 0;
    TStampFormat m_stampFormat = TStampFormat::Regional;
    std::int32_t m_charCount = 0;
    // The line in progress during one call; kept only to reuse its storage.
    std::string m_line;
    // The line in progress came from the box, so an earlier call has written it back already.
    bool m_lineShown = false;
    std::string m_stamped;
    bool m_paused = false;
    TRxHold m_hold;
    // The arrival time of the waiting block being shown, which its stamps show.
    std::optional<QByteArray> m_heldStamp;
};
