#pragma once

#include "apperror.h"
#include "timestamper.h"

#include <QString>

#include <cstdint>

class TClock;

// A log write failed at the record of byte Index of the block; the records before it are written.
class TLogWriteError : public TAppError
{
public:
    TLogWriteError(const TAppError &error, int index)
        : TAppError(error)
        , Index(index)
    {
    }
    int Index;
};

// The receive log: a header, one record per received byte in the display's mode, a trailer.
// Writes through a 128-byte buffer, so a record costs no system call; the file lags by up to
// 127 bytes until the log stops. While open, the file holds an exclusive flock, so programs that
// lock before writing (another Velorand included) stay out while readers are not hindered.
// The HEX line counter belongs to the object and carries over from one log to the next; time
// records that count the time since the one before start counting afresh in each log.
// Every failure throws TAppError with the file error text; see each method for the state after.
class TRxLog
{
public:
    static constexpr int kBufferSize = 128;
    static constexpr int kHexPerLine = 16;

    explicit TRxLog(TClock &clock);
    ~TRxLog();
    TRxLog(const TRxLog &) = delete;
    TRxLog &operator=(const TRxLog &) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Creates or empties the file and writes the header. On failure the log stays closed.
    void Start(const QString &path);
    // Writes the trailer and closes. On failure the buffer is lost and the log stays open.
    void Stop();
    // Writes out the buffer and closes without a trailer, as when the program ends. Always closes.
    void CloseWithoutTrailer();
    // One record per byte, time records in stampFormat. On a failed write throws TLogWriteError
    // naming the byte whose record was being written; the buffer's content is lost and the log
    // stays open.
    void WriteRecords(const std::uint8_t *data, int size, bool hexMode, bool timeMode,
                      TStampFormat stampFormat = TStampFormat::Regional);
    int HexCount() const { return m_hexCount; }

private:
    void HexRecords(const std::uint8_t *data, int size);
    void StringRecords(const std::uint8_t *data, int size, bool timeMode, TStampFormat stampFormat);
    void Put(const char *data, int size);
    void Put(const QByteArray &text) { Put(text.constData(), int(text.size())); }
    void PutLine(const QByteArray &text);
    void PutDateLine();
    void Flush();
    void CloseFile();

    TClock &m_clock;
    TTimeStamper m_stamper;
    int m_fd = -1;
    int m_used = 0;
    int m_index = 0;
    int m_hexCount = 0;
    char m_buffer[kBufferSize];
};
