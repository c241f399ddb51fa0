// Start-up of the real main window on stores that hold large values or many of them: the time
// from creating the window to its answering the first event after it is shown, and the process's
// peak memory. Each case prepares its store in this process and starts the window in a process of
// its own, so that neither the time nor the peak carries anything from preparing it.
//
//   start_bench [--mib N]          all cases, one line each (N: MiB per large value, default 10)
//   start_bench --keep DIR         the same, the stores prepared in DIR/1, DIR/2 ... and kept
//   start_bench --case NAME --config DIR      one case on a store prepared under DIR, to profile
#include "benchprocess.h"
#include "formplacement.h"
#include "receiverig.h"
#include "userstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

const QString kMacroKey = QStringLiteral("Software\\VELORAND\\Macro%1");

// The window's state section, which an earlier run of the program left behind.
QString WindowKey()
{
    return TFormPlacement::StateKeyPath(QCoreApplication::applicationFilePath())
        + QStringLiteral("\\WindowState");
}

// A pasted macro: printable text, characters above 127 and escapes among it.
QString LargeText(qsizetype size)
{
    const QString piece = QStringLiteral("AT+SEND=0123456789 caf\u00e9 \\r\\n ");
    QString text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    text.truncate(size);
    return text;
}

struct TCase
{
    const char *name;
    std::function<bool(TUserStore &store, qsizetype large)> prepare;   // false: the store was not written
};

const TCase kCases[] = {
    {"empty store", [](TUserStore &, qsizetype) { return true; }},
    {"one large history entry",
     [](TUserStore &store, qsizetype large) {
         return store.CreateKey(WindowKey()) && store.WriteText(kMacroKey.arg(1), "H0", LargeText(large));
     }},
    {"six large history entries",
     [](TUserStore &store, qsizetype large) {
         bool written = store.CreateKey(WindowKey());
         for (int box = 1; box <= 3; ++box)
             written = written
                 && store.WriteTexts(kMacroKey.arg(box), {{"H0", LargeText(large)}, {"H1", LargeText(large)}});
         return written;
     }},
    {"40000 values",
     [](TUserStore &store, qsizetype) {
         QList<std::pair<QString, QString>> values;
         for (int i = 0; i < 40000; ++i)
             values.append({QStringLiteral("V%1").arg(i), QStringLiteral("value %1").arg(i)});
         return store.CreateKey(WindowKey())
             && store.WriteTexts(QStringLiteral("Software\\VELORAND\\Spare"), values);
     }},
    // A line edit lays out the whole of its text, whatever the store does.
    {"one large edit text",
     [](TUserStore &store, qsizetype large) {
         return store.WriteText(WindowKey(), QStringLiteral("lbMacro1_Text"), LargeText(large));
     }},
};

// The high-water mark of this process's memory; unlike getrusage's, it starts anew at exec and
// does not carry the preparing parent's peak over.
double PeakResidentMB()
{
    long long kib = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %lld kB", &kib) == 1)
                break;
        std::fclose(status);
    }
    return double(kib) * 1024.0 / 1e6;
}

int RunCase(const TCase &test, const QString &config)
{
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    const double fileMiB = double(QFileInfo(TUserStore::DefaultPath()).size()) / 1048576.0;
    const double peakBefore = PeakResidentMB();
    QElapsedTimer wall;
    wall.start();
    TReceiveRig rig{QString()};
    const double created = double(wall.nsecsElapsed()) / 1e9;
    rig.Form().show();
    // The first event handled after the show: from then on the window answers the user.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    const double answered = double(wall.nsecsElapsed()) / 1e9;
    std::printf("%-26s store %7.1f MiB  created %6.2f s  answers %6.2f s  peak %6.1f MB (%6.1f MB before)\n",
                test.name, fileMiB, created, answered, PeakResidentMB(), peakBefore);
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
    QCommandLineOption configOption("config", "The prepared configuration folder of a case.", "dir");
    QCommandLineOption mibOption("mib", "MiB per large value (default 10).", "n", "10");
    QCommandLineOption keepOption("keep", "Prepare the stores in this folder and keep them.", "dir");
    parser.addOptions({caseOption, configOption, mibOption, keepOption});
    parser.process(app);

    if (parser.isSet(caseOption)) {
        if (const TCase *test = FindCase(kCases, parser.value(caseOption)))
            return RunCase(*test, parser.value(configOption));
        return std::fprintf(stderr, "no such case\n"), 2;
    }
    const auto large = qsizetype(parser.value(mibOption).toDouble() * 1048576);
    int number = 0;
    for (const TCase &test : kCases) {
        QTemporaryDir temporary;
        const QString config = parser.isSet(keepOption)
            ? parser.value(keepOption) + QStringLiteral("/%1").arg(++number)
            : temporary.path();
        TUserStore store(config + QStringLiteral("/velorand/registry.ini"));
        if (!test.prepare(store, large)) {
            std::fprintf(stderr, "%s: the store could not be prepared: %s\n", test.name,
                         qPrintable(store.LastError()));
            return 1;
        }
        RunInChildProcess({"--case", test.name, "--config", config});
    }
    return 0;
}
