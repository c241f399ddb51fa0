#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <cstdint>

// The sending half of a serial port, as a file send needs it. TCommPortDriver provides all four;
// tests plug in a recording fake.
class TFileSendPort
{
public:
    virtual ~TFileSendPort() = default;
    virtual bool IsOpen() const = 0;
    // Room in the output queue as the driver reports it; 0 or less means full.
    virtual std::int16_t OutputFreeSpace() = 0;
    // Full count when everything went, minus the bytes sent when the output time-out struck,
    // 0 on a closed port.
    virtual std::int32_t WriteBytes(const void *data, std::int32_t count) = 0;
    // Milliseconds a full output queue may hold the send up before the waiting byte is lost.
    virtual std::uint16_t OutputTimeout() const = 0;
};

// How a file send ended.
enum class TFileSendEnd { Completed, Stopped, PortClosed, ReadError };

// Pushes the bytes of one file down the line in small steps from the event loop, so that the
// window keeps answering and received data keeps flowing while a long file goes out. Each byte is
// handed to the port once, in file order; a byte that the port's output time-out catches is lost
// and the send goes on. A port that was open when the send began and closes during it ends the
// send; a send that begins on a closed port reads the whole file and drops it, as WriteBytes would.
class TFileSender : public QObject
{
    Q_OBJECT
public:
    // port is not owned and must outlive every send.
    explicit TFileSender(TFileSendPort &port, QObject *parent = nullptr);

    // Opens path and starts sending at the next turn of the event loop. False, with nothing
    // started, when a send is running already or the file cannot be opened for reading and
    // writing (missing, read-only, not a regular file).
    bool Start(const QString &path);
    // Ends a running send at once: Finished(Stopped) is emitted before this returns.
    void Stop();
    bool IsRunning() const { return m_file.isOpen(); }

    QString FileName() const { return m_file.fileName(); }
    // Bytes handed to the port or dropped so far, and the file's size when the send began.
    qint64 Done() const { return m_done; }
    qint64 Total() const { return m_total; }
    // Bytes the output time-out caught.
    qint64 Lost() const { return m_lost; }

signals:
    void Progress(qint64 done, qint64 total);
    void Finished(TFileSendEnd end);

private:
    void Step();
    bool FillChunk();
    void SendSome();
    void WaitForRoom();
    void Advance(qint64 handled, qint64 lost);
    void Finish(TFileSendEnd end);

    TFileSendPort &m_port;
    QFile m_file;
    QTimer m_stepTimer;
    QElapsedTimer m_sinceProgress;
    QByteArray m_chunk;
    qsizetype m_chunkPos = 0;
    bool m_portWasOpen = false;
    qint64 m_done = 0;
    qint64 m_total = 0;
    qint64 m_lost = 0;
};
