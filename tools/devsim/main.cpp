// devsim: a simulated serial board on a pseudo-terminal, for demos, tests and benchmarks.
#include "devsimoptions.h"
#include "signalquit.h"
#include "simulatedboard.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velorand-devsim"));
    int exitCode = 0;
    const std::optional<TDevSimOptions> options = ParseDevSimOptions(QCoreApplication::arguments(), exitCode);
    if (!options)
        return exitCode;

    const TSignalQuit quitOnSignal;
    TSimulatedBoard board(*options);
    QString error;
    if (!board.Start(&error)) {
        std::fprintf(stderr, "velorand-devsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(board.DevicePath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
