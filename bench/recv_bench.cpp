// Receive throughput, CPU and memory of the receive path: a payload goes through a
// pseudo-terminal and the real driver into the real main window. Each case runs in a process of
// its own, so that peak memory belongs to that case alone.
//
//   recv_bench [--mib N] [--seconds S]     all cases, one line each
//   recv_bench --case NAME [...]           one case
//   recv_bench --decorated [...]           the receive box's font underlined and struck out
#include "benchprocess.h"
#include "comportmap.h"
#include "ptyfeeder.h"
#include "receiverig.h"
#include "useroptions.h"
#include "userstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace {

struct TCase
{
    const char *name;
    bool hexMode;
    bool columns;
    bool log;
    double rate; // bytes per second; 0 = as fast as the terminal takes it
    // The receive box's additions as stored before the window starts: "Name=Value;...".
    const char *stored = "";
};

const TCase kCases[] = {
    {"string+time", false, false, false, 0},
    {"hex", true, false, false, 0},
    {"string+3 columns", false, true, false, 0},
    {"hex+log", true, false, true, 0},
    {"string paced 1 MB/s", false, false, false, 1e6},
    {"hex paced 1 MB/s", true, false, false, 1e6},
    {"string 115200 baud", false, false, false, 11520},
    {"hex 115200 baud", true, false, false, 11520},
    {"string+time ms", false, false, false, 0, "TimeStampFormat=Milliseconds"},
    {"string+time kept", false, false, false, 0, "ScrollBack=100000"},
    {"hex kept", true, false, false, 0, "ScrollBack=100000"},
    {"hex dump rows", true, false, false, 0, "HexDumpRows=True"},
    {"hex dump rows kept", true, false, false, 0, "HexDumpRows=True;ScrollBack=100000"},
};

bool StoreAdditions(const char *stored)
{
    TUserStore store;
    for (const QString &pair : QString::fromLatin1(stored).split(u';', Qt::SkipEmptyParts)) {
        if (!store.WriteText(UserOptions::Key(), pair.section(u'=', 0, 0), pair.section(u'=', 1)))
            return false;
    }
    return true;
}

// 64-byte lines ending CR LF, the shape of a board's sensor output.
QByteArray Payload(qsizetype size)
{
    QByteArray line = "T=23.5C H=41% P=1013hPa V=3.30V I=0.125A seq=";
    QByteArray payload;
    payload.reserve(size + 64);
    for (int n = 0; payload.size() < size; ++n) {
        QByteArray text = line + QByteArray::number(n).rightJustified(8, '0');
        text = text.leftJustified(62, '.', true) + "\r\n";
        payload += text;
    }
    payload.truncate(size);
    return payload;
}

double ProcessCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ResidentMiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Times the user-interface thread went to sleep and was woken: what a slow line costs most.
long long WakeUps()
{
    long long count = -1;
    if (FILE *status = std::fopen("/proc/thread-self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "voluntary_ctxt_switches: %lld", &count) == 1)
                break;
        std::fclose(status);
    }
    return count;
}

double PeakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Decorate(QWidget &box)
{
    QFont font = box.font();
    font.setUnderline(true);
    font.setStrikeOut(true);
    box.setFont(font);
}

int RunCase(const TCase &test, double mib, double seconds, int holdMs, bool decorated)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    TPtyFeeder feeder;
    if (!feeder.IsOpen() || !TComPortMap().Assign("COM1", feeder.SlavePath()))
        return std::fprintf(stderr, "no pseudo-terminal\n"), 1;

    if (!StoreAdditions(test.stored))
        return std::fprintf(stderr, "cannot store the options\n"), 1;
    TReceiveRig rig(config.filePath("bench.log"));
    rig.Form().show();
    rig.Form().showNormal();
    rig.Form().resize(1000, 700);
    if (decorated)
        Decorate(*rig.Form().findChild<QWidget *>(QStringLiteral("RxMemo")));
    rig.Configure(test.hexMode, test.columns);
    if (test.log)
        rig.Form().StartLogClick();
    if (!rig.Connect())
        return std::fprintf(stderr, "cannot open %s\n", qPrintable(feeder.SlavePath())), 1;
    QTest::qWait(300);

    const qsizetype size = test.rate > 0 ? qsizetype(test.rate * seconds) : qsizetype(mib * 1048576);
    const QByteArray payload = Payload(size);
    const double rssBefore = ResidentMiB();
    const double cpuBefore = ProcessCpu();
    const long long wakeUpsBefore = WakeUps();
    QElapsedTimer wall;
    wall.start();
    feeder.Start(payload, test.rate);

    long long maxLag = 0;
    QEventLoop loop;
    rig.OnBlock = [&](long long receivedBefore, int blockSize) {
        maxLag = std::max(maxLag, feeder.Sent() - receivedBefore);
        // The loop ends once the window has handled the last block.
        if (receivedBefore + blockSize >= size)
            loop.quit();
    };
    loop.exec();
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    feeder.Wait();
    const double cpu = ProcessCpu() - cpuBefore - feeder.ThreadCpuSeconds();
    const double wakeUps = double(WakeUps() - wakeUpsBefore) / elapsed;
    const double payloadMiB = double(size) / 1048576.0;
    const double growthPerByte = (ResidentMiB() - rssBefore) * 1048576.0 / double(size);
    if (test.log)
        rig.Form().StopLogClick();
    QTest::qWait(holdMs);

    std::printf("%-22s %8.1f MiB %8.1f MiB/s %8.4f CPU s/MiB %6.1f %% CPU  peak %6.1f MB  "
                "growth %5.2f B/byte  max lag %lld B  %5.0f wake-ups/s\n",
                test.name, payloadMiB, payloadMiB / elapsed, cpu / payloadMiB, 100.0 * cpu / elapsed,
                PeakResidentMiB() * 1.048576, growthPerByte, maxLag, wakeUps);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    DrawOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption caseOption("case", "Run one case.", "name");
    QCommandLineOption mibOption("mib", "MiB per full-speed case (default 16).", "n", "16");
    QCommandLineOption secondsOption("seconds", "Seconds per paced case (default 5).", "s", "5");
    QCommandLineOption holdOption("hold", "Keep the window open this long after a case, to look at it.",
                                  "ms", "0");
    QCommandLineOption decoratedOption("decorated", "Underline and strike out the receive box's font.");
    parser.addOptions({caseOption, mibOption, secondsOption, holdOption, decoratedOption});
    parser.process(app);
    const double mib = parser.value(mibOption).toDouble();
    const double seconds = parser.value(secondsOption).toDouble();

    if (parser.isSet(caseOption)) {
        if (const TCase *test = FindCase(kCases, parser.value(caseOption)))
            return RunCase(*test, mib, seconds, parser.value(holdOption).toInt(), parser.isSet(decoratedOption));
        return std::fprintf(stderr, "no such case\n"), 2;
    }
    for (const TCase &test : kCases) {
        QStringList arguments{"--case", test.name, "--mib", parser.value(mibOption), "--seconds",
                              parser.value(secondsOption)};
        if (parser.isSet(decoratedOption))
            arguments << "--decorated";
        RunInChildProcess(arguments);
    }
    return 0;
}
