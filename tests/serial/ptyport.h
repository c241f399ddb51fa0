#pragma once

#include "tempstore.h"
#include "ttyioctl.h"

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for a serial device: the slave is entered into the port map of a
// temporary configuration as a COM name; the test plays the device on the master side. The test
// keeps its own slave descriptor to look at what the driver set and what waits to be read.
class TPtyPort
{
public:
    explicit TPtyPort(const QString &comName = QStringLiteral("COM1"));
    ~TPtyPort();
    TPtyPort(const TPtyPort &) = delete;
    TPtyPort &operator=(const TPtyPort &) = delete;

    bool IsValid() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }

    bool Send(const QByteArray &bytes);
    // What arrived on the master, waiting up to timeoutMs for count bytes.
    QByteArray Receive(int count, int timeoutMs = 10000);
    // Bytes that wait to be read on the slave side.
    int InputWaiting() const;
    bool WaitForInput(int count, int timeoutMs = 10000) const;
    TtyIoctl::TTtySettings Settings() const;
    // Closes the master: the slave side hangs up, as an unplugged adapter does.
    void HangUp();

private:
    TTempConfigHome m_home;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
