#include "commandrun.h"

#include <QProcess>

TCommandResult RunCommand(const QString &program, const QStringList &arguments, int timeoutMs,
                          const QProcessEnvironment &environment)
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    TCommandResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.ExitCode = process.exitCode();
    }
    result.Out = process.readAllStandardOutput();
    result.Err = process.readAllStandardError();
    return result;
}
