#pragma once

#include "linepace.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class TPtyDevice;

// What the board sends, on its way to the pseudo-terminal: at once, or with a baud rate at the
// pace of a real line, each byte written when it would have arrived.
class TPacedOutput : public QObject
{
    Q_OBJECT
public:
    // baud 0 sends at once.
    TPacedOutput(TPtyDevice &device, std::int64_t baud, QObject *parent = nullptr);

    // Returns how many of the bytes were kept.
    qsizetype Send(const QByteArray &bytes);
    // Bytes sent and not yet written to a client that reads them.
    qsizetype Pending() const;

private:
    void Deliver();

    TPtyDevice &m_device;
    std::optional<TLinePace> m_pace;
    QElapsedTimer m_clock;
    QTimer m_timer;
};
