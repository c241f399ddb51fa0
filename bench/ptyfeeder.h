#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <thread>

// The device side of a pseudo-terminal: a thread writes a payload into the master, either as fast
// as the terminal takes it or paced in 1 ms slices, as a USB adapter delivers its frames.
class TPtyFeeder
{
public:
    TPtyFeeder();
    ~TPtyFeeder();

    bool IsOpen() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }
    // bytesPerSecond 0 means as fast as possible.
    void Start(const QByteArray &payload, double bytesPerSecond);
    void Wait();
    long long Sent() const { return m_sent.load(); }
    // CPU time of the writer thread, to be left out of the receiver's figures.
    double ThreadCpuSeconds() const { return m_cpuSeconds.load(); }

private:
    void Run(QByteArray payload, double bytesPerSecond);

    int m_master = -1;
    int m_slaveKeep = -1;
    QString m_slavePath;
    std::thread m_thread;
    std::atomic<long long> m_sent{0};
    std::atomic<double> m_cpuSeconds{0};
};
