#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for tests: the test keeps the master side, the program under test opens the
// slave by its path as it would a serial device. Closing the master looks like an unplug.
class TPseudoTerminal
{
public:
    TPseudoTerminal();   // check IsValid()
    ~TPseudoTerminal();
    TPseudoTerminal(const TPseudoTerminal &) = delete;
    TPseudoTerminal &operator=(const TPseudoTerminal &) = delete;

    bool IsValid() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }
    int MasterDescriptor() const { return m_master; }

    // What the program sent, waiting up to timeoutMs for at least minBytes.
    QByteArray Read(int minBytes, int timeoutMs = 5000);
    bool Write(const QByteArray &data);
    // The rate the slave side is set to, 0 when it cannot be read.
    unsigned Rate() const;
    void CloseMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};
