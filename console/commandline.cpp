#include "commandline.h"

#include "comportmap.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

#include <cstdio>

namespace {

// An option whose values are the captions of one settings group.
struct TChoice
{
    QStringList Names;
    QString ValueName;
    QString Label;
    QStringList Captions;
    std::optional<int> TStartOptions::*Item;
};

const QList<TChoice> &Choices()
{
    static const QList<TChoice> choices{
        {{"b", "baud"}, "RATE", "The baud rate",
         {"600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000", "57600", "115200", "256000"},
         &TStartOptions::BaudRateItem},
        {{"data-bits"}, "BITS", "Data bits", {"5", "6", "7", "8"}, &TStartOptions::DataBitsItem},
        {{"parity"}, "PARITY", "Parity", {"none", "odd", "even", "mark", "space"}, &TStartOptions::ParityItem},
        {{"stop-bits"}, "BITS", "Stop bits", {"1", "1.5", "2"}, &TStartOptions::StopBitsItem},
        {{"handshaking"}, "MODE", "Handshaking",
         {"none", "RTS/CTS", "XON/XOFF", "RTS/CTS + XON/XOFF", "RTS on TX"}, &TStartOptions::HandshakingItem},
    };
    return choices;
}

// Qt takes these itself when the application object starts.
const QStringList kQtValueOptions{"platform", "platformpluginpath", "platformtheme", "plugin",
                                  "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                  "display", "geometry", "style", "stylesheet", "qmljsdebugger"};
const QStringList kQtFlagOptions{"reverse", "widgetcount"};

QString OptionText(const QStringList &names)
{
    return names.size() == 2 ? QStringLiteral("-%1/--%2").arg(names[0], names[1]) : "--" + names[0];
}

// "a, b or c", quoted where a value holds a space, as a shell needs it.
QString AcceptedText(const QStringList &values)
{
    QStringList shown;
    for (const QString &value : values)
        shown += value.contains(u' ') ? u'"' + value + u'"' : value;
    const QString last = shown.takeLast();
    return shown.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString WithoutSpaces(QString text)
{
    return text.remove(u' ');
}

// Case and spaces do not matter: "rts/cts+xon/xoff" is "RTS/CTS + XON/XOFF".
int ItemOf(const QStringList &captions, const QString &value)
{
    for (int item = 0; item < captions.size(); ++item) {
        if (WithoutSpaces(captions[item]).compare(WithoutSpaces(value), Qt::CaseInsensitive) == 0)
            return item;
    }
    return -1;
}

QString BadValue(const QStringList &names, const QString &value, const QString &accepted)
{
    return QStringLiteral("bad value \"%1\" for %2; accepted: %3").arg(value, OptionText(names), accepted);
}

void Describe(QCommandLineParser &parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "A serial-line console. The options set up this run over the settings the window kept from\n"
        "the last one, and are kept in turn, as choices made in the window are."));
    parser.addOptions({
        {{"h", "help"}, "Show this help and exit."},
        {"version", "Show the version and exit."},
        {{"p", "port"},
         "COM1 to COM6 selects that port. A device (/dev/ttyUSB0, or ttyUSB0 for short) is opened through the "
         "selected port during this run.",
         "COMn|DEVICE"},
        {"save-port", "Keep the device given with --port for the selected port in later runs too."},
    });
    for (const TChoice &choice : Choices()) {
        parser.addOption({choice.Names, QStringLiteral("%1: %2.").arg(choice.Label, AcceptedText(choice.Captions)),
                          choice.ValueName});
    }
    parser.addOptions({
        {"connect", "Connect once the window is shown."},
        {"log", "Start the receive log into FILE at once (an existing file is emptied).", "FILE"},
    });
    parser.addPositionalArgument("PORT", "The same as --port, as in: velorand /dev/ttyUSB0 -b 115200.", "[PORT]");
    for (const QString &name : kQtValueOptions) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : kQtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString HelpText(const QCommandLineParser &parser)
{
    // Qt's own usage line names the executable only once Qt has started.
    return QStringLiteral("Usage: velorand [options] [PORT]\n") + parser.helpText().section(u'\n', 1)
        + QStringLiteral("\nQt's own options (-platform, -display, -style ...) are passed on to Qt.\n"
                         "Exit status: 0, or 2 for a mistake on the command line.\n");
}

} // namespace

TCommandLine::TCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    if (!parser.parse(arguments)) {
        Fail(parser.errorText());
    } else if (parser.isSet(QStringLiteral("help"))) {
        m_output = HelpText(parser);
        m_exitCode = 0;
    } else if (parser.isSet(QStringLiteral("version"))) {
        m_output = QStringLiteral("velorand " VELORAND_VERSION "\n");
        m_exitCode = 0;
    } else {
        Read(parser);
    }
}

QStringList TCommandLine::Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int TCommandLine::Finish() const
{
    std::fputs(m_output.toLocal8Bit().constData(), stdout);
    std::fputs(m_error.toLocal8Bit().constData(), stderr);
    return ExitCode();
}

bool TCommandLine::Fail(const QString &message)
{
    m_error = QStringLiteral("velorand: %1\nTry 'velorand --help' for more information.\n").arg(message);
    m_exitCode = kUsageError;
    return false;
}

bool TCommandLine::Read(const QCommandLineParser &parser)
{
    for (const TChoice &choice : Choices()) {
        for (const QString &value : parser.values(choice.Names.last())) {
            const int item = ItemOf(choice.Captions, value);
            if (item < 0)
                return Fail(BadValue(choice.Names, value, AcceptedText(choice.Captions)));
            m_options.*choice.Item = item;
        }
    }
    for (const QString &file : parser.values(QStringLiteral("log"))) {
        if (file.isEmpty())
            return Fail(BadValue({"log"}, file, QStringLiteral("a file name")));
        m_options.LogFile = file;
    }
    m_options.Connect = parser.isSet(QStringLiteral("connect"));
    return ReadPort(parser);
}

// tio and its kind take the device as the argument; so does this program.
bool TCommandLine::ReadPort(const QCommandLineParser &parser)
{
    const QStringList options = parser.values(QStringLiteral("port"));
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1)
        return Fail(QStringLiteral("unexpected argument \"%1\": one port at most").arg(arguments[1]));
    if (!arguments.isEmpty() && !options.isEmpty())
        return Fail(QStringLiteral("the port is given twice, with -p/--port and as the argument \"%1\"")
                        .arg(arguments[0]));
    for (const QString &value : options + arguments) {
        if (!SetPort(value)) {
            return Fail(BadValue({"p", "port"}, value,
                                 QStringLiteral("COM1 to COM%1, or a device such as /dev/ttyUSB0").arg(TComPortMap::kPortCount)));
        }
    }
    m_options.SavePort = parser.isSet(QStringLiteral("save-port"));
    if (m_options.SavePort && m_options.PortDevice.isEmpty())
        return Fail(QStringLiteral("--save-port needs a device with -p/--port, such as -p /dev/ttyUSB0"));
    return true;
}

// COMn selects an item; a value with a folder is that file, relative to the current folder as the
// shell completed it; a bare name is a device node.
bool TCommandLine::SetPort(const QString &value)
{
    m_options.ComPortItem.reset();
    m_options.PortDevice.clear();
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch com = comName.match(value); com.hasMatch()) {
        const int number = com.captured(1).toInt();
        if (number < 1 || number > TComPortMap::kPortCount)
            return false;
        m_options.ComPortItem = number - 1;
    } else if (value.contains(u'/')) {
        m_options.PortDevice = QDir::cleanPath(QDir::current().absoluteFilePath(value));
    } else if (!value.trimmed().isEmpty()) {
        m_options.PortDevice = QStringLiteral("/dev/") + value;
    } else {
        return false;
    }
    return true;
}
