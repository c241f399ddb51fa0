// What waiting costs while nothing happens: the CPU time and wake-ups of an idle event loop, of
// the modem-line lamps read on a 50 ms timer, of a thread that sleeps in the kernel until a line
// changes (as one blocked in TIOCMIWAIT would), and of the wait for a lost device's path.
//
//   idle_bench [--seconds S]
#include "devicewatch.h"
#include "modemlinewatch.h"
#include "ttyioctl.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>

#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct TUsage
{
    double cpuSeconds = 0;
    long wakeUps = 0;
};

TUsage Now()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_nvcsw + usage.ru_nivcsw};
}

// Runs the event loop for seconds with setup's arrangement in place and prints what it cost.
void Measure(const char *name, int seconds, const std::function<void()> &setup)
{
    setup();
    const TUsage before = Now();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const TUsage after = Now();
    std::printf("%-44s %8.3f ms CPU per minute  %7.1f wake-ups per second\n", name,
                (after.cpuSeconds - before.cpuSeconds) * 60000.0 / seconds,
                double(after.wakeUps - before.wakeUps) / seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Length of each case."),
                                           QStringLiteral("S"), QStringLiteral("10"));
    parser.addOption(secondsOption);
    parser.process(app);
    const int seconds = std::max(1, parser.value(secondsOption).toInt());

    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return 1;

    Measure("idle event loop", seconds, [] {});

    // The ioctl fails on a pseudo-terminal, at the cost of a successful one; the lamps keep reading.
    TModemLineWatch timerWatch([slave]() -> std::optional<TModemInputs> {
        int bits = 0;
        TtyIoctl::ModemLines(slave, bits);
        return TtyIoctl::ModemInputsOf(bits);
    });
    Measure("lamps: TIOCMGET every 50 ms", seconds, [&] { timerWatch.Start(); });
    timerWatch.Stop();

    // A pseudo-terminal has no TIOCMIWAIT; the thread sleeps on a pipe instead, in the kernel
    // as a waiter for a line change would, and is woken through it at the end.
    int wake[2];
    if (::pipe(wake) != 0)
        return 1;
    std::thread sleeper;
    Measure("lamps: a thread asleep until a line changes", seconds, [&] {
        sleeper = std::thread([&] {
            pollfd entry{wake[0], POLLIN, 0};
            ::poll(&entry, 1, -1);
        });
    });
    const char byte = 0;
    if (::write(wake[1], &byte, 1) != 1)
        return 1;
    sleeper.join();
    ::close(master);

    QTemporaryDir folder;
    TDeviceWatch deviceWatch;
    Measure("waiting for a device: its folder watched", seconds,
            [&] { deviceWatch.Watch(folder.filePath(QStringLiteral("board"))); });
    ::close(slave);
    return 0;
}
