#pragma once

#include "boardresponder.h"
#include "devsimoptions.h"
#include "floodsource.h"
#include "pacedoutput.h"
#include "portmaplease.h"
#include "ptydevice.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

// The simulated board: a pseudo-terminal that answers like a small microcontroller program,
// published under a stable link and in the port map for as long as it runs.
class TSimulatedBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSensorIntervalMs = 1000;
    static constexpr int kFloodTickMs = 10;

    explicit TSimulatedBoard(const TDevSimOptions &options, QObject *parent = nullptr);
    ~TSimulatedBoard() override;

    bool Start(QString *error);
    // The link when there is one, else the pseudo-terminal itself.
    QString DevicePath() const;

private:
    bool MakeLink(QString *error);
    void SendSensorLine();
    void Flood();

    TDevSimOptions m_options;
    TPtyDevice m_device;
    TPacedOutput m_output;
    TBoardResponder m_responder;
    TFloodSource m_flood;
    QElapsedTimer m_floodClock;
    QTimer m_sensorTimer;
    QTimer m_floodTimer;
    std::unique_ptr<TPortMapLease> m_lease;
    bool m_linked = false;
    int m_sensorCount = 0;
};
