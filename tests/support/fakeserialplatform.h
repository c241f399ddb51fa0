#pragma once

#include "serialplatform.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <optional>

// A serial platform in memory that records every call in order ("Open COM1", "Purge 15", ...),
// so that tests can check exact call sequences, and plays back what a test scripts: data to read,
// output-queue counts, partial writes, failures. Its clock moves only when the driver waits.
// The modem-line calls may come from another thread, as on the real platform.
class TFakeSerialPlatform : public TSerialPlatform
{
public:
    TFakeSerialPlatform();
    ~TFakeSerialPlatform() override;
    TFakeSerialPlatform(const TFakeSerialPlatform &) = delete;
    TFakeSerialPlatform &operator=(const TFakeSerialPlatform &) = delete;

    TSerialOpenResult Open(const QString &name) override;
    void Close(TPortHandle handle) override;
    TSerialStatus SetLineState(TPortHandle handle, const TLineState &state) override;
    TSerialStatus Purge(TPortHandle handle, std::uint32_t bits) override;
    TSerialStatus SetupQueues(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) override;
    TSerialStatus SetTimeouts(TPortHandle handle, const TCommTimeouts &timeouts) override;
    TSerialStatus EscapeFunction(TPortHandle handle, int code) override;
    // Not recorded: the window reads the lines many times a second.
    TSerialStatus ModemInputs(TPortHandle handle, TModemInputs &lines) override;
    // Blocks until SetInputs, or returns WaitFailure at once when that is not Ok; a signal ends
    // the wait as it ends the real one.
    TSerialStatus WaitModemChange(TPortHandle handle) override;
    TSerialStatus SetBreak(TPortHandle handle, bool on) override;
    TSerialCount Read(TPortHandle handle, void *buffer, std::int32_t maxCount) override;
    TSerialCount Write(TPortHandle handle, const void *data, std::int32_t count) override;
    TSerialCount OutputQueueCount(TPortHandle handle) override;
    int ReadinessDescriptor(TPortHandle handle) override;
    void WaitWritable(TPortHandle handle, int timeoutMs) override;
    void Sleep(int milliseconds) override;
    std::uint32_t TickCount() override;

    // What the driver did.
    QStringList Calls;
    QList<TLineState> LineStates;
    TCommTimeouts LastTimeouts;
    QByteArray Written;
    bool Dtr = false;
    bool Rts = false;
    bool Break = false;
    QStringList OpenHandles() const;
    // The calls whose text starts with one of the prefixes, in order.
    QStringList CallsStartingWith(const QStringList &prefixes) const;

    // What the device does.
    TOpenFailure OpenFailure = TOpenFailure::None;   // anything else makes Open fail
    QByteArray Incoming;                             // read in order, as much as asked for
    std::int32_t QueuedOutput = 0;                   // the output-queue count reported
    QQueue<std::int32_t> WriteLimits;                // most bytes each next write takes; then
    bool StallAfterLimits = false;                   // ... all, or none when this is set
    QHash<QString, TSerialStatus> Failures;          // call name -> status it returns from now on
    std::uint32_t Clock = 0;
    // The input lines (nothing: the device has no modem lines); wakes a waiter.
    void SetInputs(std::optional<TModemInputs> inputs);
    std::atomic<TSerialStatus> WaitFailure{TSerialStatus::Ok};
    std::atomic<int> Waiters{0};                     // threads in WaitModemChange now

private:
    TSerialStatus Record(const QString &call, const QString &arguments = QString());
    // Records the call; a handle that is not open fails it as the real platform would.
    TSerialStatus RecordOn(TPortHandle handle, const QString &call, const QString &arguments = QString());
    bool IsOpenHandle(TPortHandle handle) const;

    // Guards what the modem-line calls read: the lines and, against Open and Close, the handles.
    mutable std::mutex m_linesLock;
    std::optional<TModemInputs> m_inputs = TModemInputs{};
    int m_lineChange = -1;   // an event descriptor, readable after a change
    QList<TPortHandle> m_open;
    QHash<TPortHandle, QString> m_names;
    TPortHandle m_lastHandle = 0;
};
