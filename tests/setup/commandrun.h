#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// What a finished command left: its exit status (-1 when it crashed or did not finish in time) and
// its two output streams.
struct TCommandResult
{
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
};

// Runs program with arguments to its end, for at most timeoutMs, in the given environment (the
// test's own when empty); a command still running then is killed.
TCommandResult RunCommand(const QString &program, const QStringList &arguments, int timeoutMs = 120000,
                          const QProcessEnvironment &environment = {});
