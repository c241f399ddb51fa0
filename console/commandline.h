#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// What the command line asks of this run, in the window's terms: items of the settings groups
// (indexes from 0), a device for the selected port, a log file, a connect. Nothing set: the run
// starts as designed.
struct TStartOptions
{
    std::optional<int> ComPortItem;
    QString PortDevice;   // an absolute path, empty for none
    bool SavePort = false;
    std::optional<int> BaudRateItem;
    std::optional<int> DataBitsItem;
    std::optional<int> ParityItem;
    std::optional<int> StopBitsItem;
    std::optional<int> HandshakingItem;
    QString LogFile;      // empty for none
    bool Connect = false;
};

// The program's command line, read before Qt starts, so that --help, --version and a mistake are
// answered without a display and without a window. Qt's own options (-platform, -display,
// -style, -session ...) are let through for Qt to take. A value option given twice counts with
// its last value, so that a shell alias can be overridden; every value given is checked.
class TCommandLine
{
public:
    static constexpr int kUsageError = 2;

    // arguments: as the program received them, the program's path first.
    explicit TCommandLine(const QStringList &arguments);
    static QStringList Arguments(int argc, char *argv[]);

    // True when the program ends here, with ExitCode(), after Finish().
    bool Ends() const { return m_exitCode.has_value(); }
    int ExitCode() const { return m_exitCode.value_or(0); }
    // For standard output (the help, the version) and standard error (what was wrong).
    QString Output() const { return m_output; }
    QString Error() const { return m_error; }
    // Prints Output and Error to their streams; returns ExitCode.
    int Finish() const;

    const TStartOptions &Options() const { return m_options; }

private:
    bool Read(const QCommandLineParser &parser);
    bool ReadPort(const QCommandLineParser &parser);
    bool SetPort(const QString &value);
    bool Fail(const QString &message);

    TStartOptions m_options;
    std::optional<int> m_exitCode;
    QString m_output;
    QString m_error;
};
