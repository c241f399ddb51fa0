#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

// The sending half of a serial port, as a file send needs it. TDriverSendPort adapts the window's
// driver; tests plug in a recording fake.
class TFileSendPort
{
public:
    virtual ~TFileSendPort() = default;
    virtual bool IsOpen() const = 0;
    // Never waits: the bytes the port takes at once, 0 when it is closed or full.
    virtual std::int32_t WriteAvailable(const void *data, std::int32_t count) = 0;
    // Calls ready once, from the event loop, when a port that took no bytes is worth offering
    // them again (or has closed). A later call replaces a pending one.
    virtual void WhenWritable(std::function<void()> ready) = 0;
    virtual void CancelWhenWritable() = 0;
    // Milliseconds a full port may hold the send up before the waiting byte is lost.
    virtual std::uint16_t OutputTimeout() const = 0;
};

// How a file send ended.
enum class TFileSendEnd { Completed, Stopped, PortClosed, ReadError };

// Pushes the bytes of one file down the line from the event loop, never waiting on the port, so
// that the window keeps answering and received data keeps flowing while a file goes out to a
// slow line. Each byte is handed to the port once, in file order; a byte that the port does not
// take within its output time-out is lost and the send goes on. A port that was open when the
// send began and closes during it ends the send; a send that begins on a closed port reads the
// whole file and drops it, as WriteBytes would.
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
    // Bytes handed to the port or lost so far, and the file's size when the send began.
    qint64 Done() const { return m_done; }
    qint64 Total() const { return m_total; }
    // Bytes that never reached the port: caught by the output time-out, or dropped because the
    // port was closed when the send began.
    qint64 Lost() const { return m_lost; }
    // How the last send ended, in a line for the status bar.
    QString Summary() const;

signals:
    void Progress(qint64 done, qint64 total);
    void Finished(TFileSendEnd end);

private:
    void Step();
    void StepSoon();
    bool FillChunk();
    void SendSome();
    void WaitForPort();
    void Advance(qint64 handled, qint64 lost);
    void Finish(TFileSendEnd end);

    TFileSendPort &m_port;
    QFile m_file;
    // Single-shot: the next step, or the end of the output time-out while the port is full.
    QTimer m_stepTimer;
    QElapsedTimer m_sinceProgress;
    QByteArray m_chunk;
    qsizetype m_chunkPos = 0;
    bool m_portWasOpen = false;
    TFileSendEnd m_end = TFileSendEnd::Completed;
    qint64 m_done = 0;
    qint64 m_total = 0;
    qint64 m_lost = 0;
};
