// What waiting costs while nothing happens: the CPU time and wake-ups of an idle event loop, of
// the modem-line watch in both its ways (a 50 ms timer, a thread asleep until a line changes),
// and of the wait for a lost device's path.
//
//   idle_bench [--seconds S]
#include "comportmap.h"
#include "devicewatch.h"
#include "modemlinewatch.h"
#include "posixserialplatform.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>

#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The real platform on a pseudo-terminal, which has neither modem lines nor TIOCMIWAIT: the lines
// are asked for all the same (the failing ioctl costs what a successful one does) and read as all
// off, and the wait sleeps in the kernel on a pipe that nothing writes, as a TIOCMIWAIT waiter
// would, until the watch's signal ends it.
class TBenchPlatform : public TPosixSerialPlatform
{
public:
    bool CanWait = false;

    ~TBenchPlatform() override
    {
        for (const int end : m_never)
            ::close(end);
    }
    TSerialStatus ModemInputs(TPortHandle handle, TModemInputs &lines) override
    {
        TPosixSerialPlatform::ModemInputs(handle, lines);
        return TSerialStatus::Ok;
    }
    TSerialStatus WaitModemChange(TPortHandle) override
    {
        if (!CanWait)
            return TSerialStatus::Unsupported;
        pollfd entry{m_never[0], POLLIN, 0};
        return ::poll(&entry, 1, -1) < 0 && errno == EINTR ? TSerialStatus::WouldBlock : TSerialStatus::Ok;
    }
    bool Valid() const { return m_pipe == 0; }

private:
    int m_never[2] = {-1, -1};
    int m_pipe = ::pipe(m_never);
};

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

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    int master = -1;
    int slave = -1;
    char slavePath[128] = {};
    if (::openpty(&master, &slave, slavePath, nullptr, nullptr) != 0 || !TComPortMap().Assign("COM1", slavePath))
        return 1;
    TBenchPlatform platform;
    const TPortHandle port = platform.Open(QStringLiteral("COM1")).Handle;
    if (!platform.Valid() || port == kInvalidPortHandle)
        return 1;
    TModemLineWatch lamps([&]() -> std::optional<TModemInputs> {
        TModemInputs lines;
        return platform.ModemInputs(port, lines) == TSerialStatus::Ok ? std::optional(lines) : std::nullopt;
    }, [&] { return TModemLinePort{&platform, port}; });

    Measure("idle event loop", seconds, [] {});
    Measure("lamps: TIOCMGET every 50 ms", seconds, [&] { lamps.Start(); });
    lamps.Stop();
    platform.CanWait = true;
    Measure("lamps: a thread asleep until a line changes", seconds, [&] { lamps.Start(); });
    lamps.Stop();
    platform.Close(port);
    ::close(master);

    QTemporaryDir folder;
    TDeviceWatch deviceWatch;
    Measure("waiting for a device: its folder watched", seconds,
            [&] { deviceWatch.Watch(folder.filePath(QStringLiteral("board"))); });
    ::close(slave);
    return 0;
}
