#pragma once

#include "serialplatform.h"

#include <mutex>
#include <unordered_map>

// The serial layer on Linux: COM names resolve through the user's port map to device paths,
// which are opened exclusively (flock and TIOCEXCL) and non-blocking, and set through termios2.
class TPosixSerialPlatform : public TSerialPlatform
{
public:
    TPosixSerialPlatform() = default;
    ~TPosixSerialPlatform() override;
    TPosixSerialPlatform(const TPosixSerialPlatform &) = delete;
    TPosixSerialPlatform &operator=(const TPosixSerialPlatform &) = delete;

    TSerialOpenResult Open(const QString &name) override;
    void Close(TPortHandle handle) override;
    TSerialStatus SetLineState(TPortHandle handle, const TLineState &state) override;
    TSerialStatus Purge(TPortHandle handle, std::uint32_t bits) override;
    TSerialStatus SetupQueues(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) override;
    TSerialStatus SetTimeouts(TPortHandle handle, const TCommTimeouts &timeouts) override;
    TSerialStatus EscapeFunction(TPortHandle handle, int code) override;
    TSerialStatus ModemInputs(TPortHandle handle, TModemInputs &lines) override;
    TSerialStatus WaitModemChange(TPortHandle handle) override;
    TSerialStatus SetBreak(TPortHandle handle, bool on) override;
    TSerialCount Read(TPortHandle handle, void *buffer, std::int32_t maxCount) override;
    TSerialCount Write(TPortHandle handle, const void *data, std::int32_t count) override;
    TSerialCount OutputQueueCount(TPortHandle handle) override;
    int ReadinessDescriptor(TPortHandle handle) override;
    void WaitWritable(TPortHandle handle, int timeoutMs) override;
    void Sleep(int milliseconds) override;
    std::uint32_t TickCount() override;

private:
    int Descriptor(TPortHandle handle) const;
    TPortHandle Register(int fd);

    // The modem-line calls look descriptors up from another thread.
    mutable std::mutex m_descriptorsLock;
    std::unordered_map<TPortHandle, int> m_descriptors;
    TPortHandle m_lastHandle = 0;
};
