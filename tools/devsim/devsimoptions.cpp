#include "devsimoptions.h"

#include "linepace.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace {

std::optional<TDevSimOptions> Fail(const QString &message, int &exitCode)
{
    std::fprintf(stderr, "velorand-devsim: %s\n", qPrintable(message));
    exitCode = 2;
    return std::nullopt;
}

void Describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "A simulated serial board on a pseudo-terminal. Prints the device path, echoes what it\n"
        "receives, answers AT<CR> with OK<CR><LF> and sends a sensor line every second.\n"
        "Ends cleanly on SIGINT or SIGTERM."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("com"), QStringLiteral("Map COM<n> (1-6) to the device in the user's port map while running."),
         QStringLiteral("n")},
        {QStringLiteral("link"), QStringLiteral("Make <path> a symlink to the device while running."),
         QStringLiteral("path")},
        {QStringLiteral("quiet"), QStringLiteral("Do not send the sensor line.")},
        {QStringLiteral("flood"), QStringLiteral("Send payload at <rate> bytes per second (no sensor line)."),
         QStringLiteral("rate")},
        {QStringLiteral("payload"), QStringLiteral("Flood with the contents of <file> instead of 64-byte lines."),
         QStringLiteral("file")},
        {QStringLiteral("baud"),
         QStringLiteral("Send as a line at <rate> baud does: one byte every 10 bits' time, each as it arrives."),
         QStringLiteral("rate")},
    });
}

} // namespace

std::optional<TDevSimOptions> ParseDevSimOptions(const QStringList &arguments, int &exitCode)
{
    QCommandLineParser parser;
    Describe(parser);
    if (!parser.parse(arguments))
        return Fail(parser.errorText(), exitCode);
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        exitCode = 0;
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()), exitCode);

    TDevSimOptions options;
    bool ok = true;
    if (parser.isSet(QStringLiteral("com"))) {
        options.ComNumber = parser.value(QStringLiteral("com")).toInt(&ok);
        if (!ok || options.ComNumber < 1 || options.ComNumber > 6)
            return Fail(QStringLiteral("--com takes a number from 1 to 6"), exitCode);
    }
    if (parser.isSet(QStringLiteral("flood"))) {
        options.FloodRate = parser.value(QStringLiteral("flood")).toLongLong(&ok);
        if (!ok || options.FloodRate <= 0)
            return Fail(QStringLiteral("--flood takes a positive byte rate"), exitCode);
    }
    if (parser.isSet(QStringLiteral("baud"))) {
        options.Baud = parser.value(QStringLiteral("baud")).toLongLong(&ok);
        if (!ok || options.Baud < 1 || options.Baud > TLinePace::kMaxBaud)
            return Fail(QStringLiteral("--baud takes a rate from 1 to %1").arg(TLinePace::kMaxBaud), exitCode);
    }
    if (parser.isSet(QStringLiteral("payload"))) {
        QFile file(parser.value(QStringLiteral("payload")));
        if (!file.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()), exitCode);
        options.FloodPattern = file.readAll();
        if (options.FloodPattern.isEmpty())
            return Fail(QStringLiteral("%1 is empty").arg(file.fileName()), exitCode);
    }
    options.LinkPath = parser.value(QStringLiteral("link"));
    options.Quiet = parser.isSet(QStringLiteral("quiet")) || options.FloodRate > 0;
    return options;
}
