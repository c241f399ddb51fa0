#pragma once

#include <QProcess>
#include <QStringList>

// The simulated board as a program, started with the given arguments under the environment the
// test has set (its temporary configuration included), and stopped with SIGTERM when the object
// goes.
class TDevSimProcess
{
public:
    TDevSimProcess(const QString &program, const QStringList &arguments);
    ~TDevSimProcess();
    TDevSimProcess(const TDevSimProcess &) = delete;
    TDevSimProcess &operator=(const TDevSimProcess &) = delete;

    // The device path it printed, empty when it did not start.
    QString DevicePath();
    // True when it ended by itself on the signal, with exit status 0.
    bool Stop();

private:
    QProcess m_process;
};
