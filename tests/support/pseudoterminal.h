#pragma once

#include "tempconfighome.h"
#include "ttyioctl.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A pseudo-terminal standing in for a serial device: the test plays the device on the master
// side, the program under test opens the slave by its path. The test keeps a slave descriptor of
// its own to look at what the program set and what waits to be read. Closing the master looks
// like an unplug.
class TPseudoTerminal
{
public:
    TPseudoTerminal();   // check IsValid()
    // Also enters the slave as comName into the port map of a temporary per-user store that
    // lasts as long as this object; without the entry the name would reach a real port.
    explicit TPseudoTerminal(const QString &comName);
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal &) = delete;
    TPseudoTerminal &operator=(const TPseudoTerminal &) = delete;

    bool IsValid() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }
    // Non-blocking, for a test that watches it with a socket notifier.
    int MasterDescriptor() const { return m_master; }

    // What the program sent, waiting up to timeoutMs for at least minBytes.
    QByteArray Read(int minBytes, int timeoutMs = 10000);
    // Waits up to timeoutMs for room when the program does not read.
    bool Write(const QByteArray &data, int timeoutMs = 10000);
    // Bytes that wait to be read on the slave side, -1 when that cannot be told.
    int InputWaiting() const;
    bool WaitForInput(int count, int timeoutMs = 10000) const;
    TtyIoctl::TTtySettings Settings() const;
    // Leaves the slave as a terminal for people, the way a login or another program may leave a
    // device: line editing, echo, signals and every byte translation on, input and output.
    bool TranslateEverything();
    void CloseMaster();

private:
    std::optional<TTempConfigHome> m_home;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
