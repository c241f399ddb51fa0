#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <memory>

// The device end of a pseudo-terminal: clients open SlavePath() as a serial port. A slave
// descriptor stays open the whole time, so the master never sees a hang-up between clients.
class TPtyDevice : public QObject
{
    Q_OBJECT
public:
    // Output for a client that does not read is dropped beyond this, as a real line would lose it.
    static constexpr qsizetype kMaxPending = 64 * 1024;

    explicit TPtyDevice(QObject *parent = nullptr);
    ~TPtyDevice() override;

    bool Open(QString *error);
    QString SlavePath() const { return m_slavePath; }

    // Queues bytes for the client; returns how many were kept.
    qsizetype Send(const QByteArray &bytes);
    qsizetype Pending() const { return m_pending.size() - m_sent; }

signals:
    void Received(const QByteArray &bytes);

private:
    void ReadMaster();
    void WriteMaster();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QByteArray m_pending;
    qsizetype m_sent = 0;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
};
