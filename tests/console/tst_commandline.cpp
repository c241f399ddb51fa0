// The command line: what each option asks of the run, and the mistakes that end the program.
#include "commandline.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {

TCommandLine Parse(const QStringList &arguments)
{
    return TCommandLine(QStringList{"velorand"} + arguments);
}

std::optional<int> ItemOf(const TStartOptions &options, const QString &option)
{
    if (option == "--baud")
        return options.BaudRateItem;
    if (option == "--parity")
        return options.ParityItem;
    if (option == "--stop-bits")
        return options.StopBitsItem;
    return options.HandshakingItem;
}

} // namespace

class TstCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void noArgumentsStartAsDesigned()
    {
        const TCommandLine commandLine = Parse({});
        const TStartOptions &options = commandLine.Options();
        QVERIFY(!commandLine.Ends() && !options.ComPortItem && !options.BaudRateItem && !options.DataBitsItem
                && !options.ParityItem && !options.StopBitsItem && !options.HandshakingItem
                && options.PortDevice.isEmpty() && options.LogFile.isEmpty() && !options.SavePort && !options.Connect);
    }

    // Every caption of every group is tried against the window itself (tst_mainformstart); these
    // are the spellings around them.
    void spellingsOfAValue_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("item");
        QTest::newRow("short baud") << QStringList{"-b", "115200"} << "--baud" << 10;
        QTest::newRow("one dash") << QStringList{"-baud", "9600"} << "--baud" << 4;
        QTest::newRow("with =") << QStringList{"--stop-bits=1.5"} << "--stop-bits" << 1;
        QTest::newRow("upper case") << QStringList{"--parity", "EVEN"} << "--parity" << 2;
        QTest::newRow("no spaces") << QStringList{"--handshaking", "rts/cts+xon/xoff"} << "--handshaking" << 3;
        QTest::newRow("lower case") << QStringList{"--handshaking", "rts on tx"} << "--handshaking" << 4;
        QTest::newRow("last counts") << QStringList{"-b", "600", "--baud", "57600"} << "--baud" << 9;
    }

    void spellingsOfAValue()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, option);
        QFETCH(int, item);
        const TCommandLine commandLine = Parse(arguments);
        QVERIFY(!commandLine.Ends());
        QCOMPARE(ItemOf(commandLine.Options(), option), std::optional<int>(item));
    }

    void portValues_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("device");
        const QString here = QDir::currentPath();
        QTest::newRow("COM3") << QStringList{"-p", "COM3"} << 2 << "";
        QTest::newRow("com6") << QStringList{"--port", "com6"} << 5 << "";
        QTest::newRow("device") << QStringList{"-p", "/dev/ttyUSB0"} << -1 << "/dev/ttyUSB0";
        QTest::newRow("bare name") << QStringList{"-p", "ttyACM0"} << -1 << "/dev/ttyACM0";
        QTest::newRow("relative") << QStringList{"--port", "./links/../ptyA"} << -1 << here + "/ptyA";
        QTest::newRow("argument") << QStringList{"/dev/serial/by-id/usb-x", "-b", "9600"} << -1
                                  << "/dev/serial/by-id/usb-x";
        QTest::newRow("COM as argument") << QStringList{"COM2"} << 1 << "";
        QTest::newRow("last counts") << QStringList{"-p", "COM2", "-p", "/dev/ttyS9"} << -1 << "/dev/ttyS9";
    }

    void portValues()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, item);
        QFETCH(QString, device);
        const TCommandLine commandLine = Parse(arguments);
        QVERIFY(!commandLine.Ends());
        QCOMPARE(commandLine.Options().ComPortItem.value_or(-1), item);
        QCOMPARE(commandLine.Options().PortDevice, device);
    }

    void flagsAndLog()
    {
        const TCommandLine commandLine = Parse({"--connect", "--log", "rx.log", "--save-port", "ttyUSB1"});
        QVERIFY(!commandLine.Ends());
        QVERIFY(commandLine.Options().Connect);
        QVERIFY(commandLine.Options().SavePort);
        QCOMPARE(commandLine.Options().LogFile, QStringLiteral("rx.log"));
    }

    // A session manager restarts the program with -session; -platform and the like serve tests and
    // people who know Qt.
    void qtOptionsAreLeftToQt()
    {
        const TCommandLine commandLine = Parse({"-platform", "offscreen", "-style", "fusion", "-reverse",
                                                "--session", "1a2b", "-display", ":1", "-b", "2400"});
        QVERIFY2(!commandLine.Ends(), qPrintable(commandLine.Error()));
        QCOMPARE(commandLine.Options().BaudRateItem, std::optional<int>(2));
        QVERIFY(!commandLine.Options().ComPortItem && commandLine.Options().PortDevice.isEmpty());
    }

    void mistakesEndTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("told");
        const QStringList rates{"-b/--baud", "600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, "
                                             "115200 or 256000"};
        const QStringList ports{"-p/--port", "COM1 to COM6, or a device"};
        QTest::newRow("rate") << QStringList{"-b", "1234"} << rates + QStringList{"\"1234\""};
        QTest::newRow("empty rate") << QStringList{"--baud="} << rates + QStringList{"\"\""};
        QTest::newRow("a later bad rate") << QStringList{"-b", "9600", "-b", "96OO"} << rates;
        QTest::newRow("data bits") << QStringList{"--data-bits", "9"} << QStringList{"--data-bits", "5, 6, 7 or 8"};
        QTest::newRow("parity") << QStringList{"--parity", "e"}
                                << QStringList{"--parity", "none, odd, even, mark or space"};
        QTest::newRow("stop bits") << QStringList{"--stop-bits", "1,5"} << QStringList{"--stop-bits", "1, 1.5 or 2"};
        QTest::newRow("handshaking")
            << QStringList{"--handshaking", "rts"}
            << QStringList{"--handshaking", "none, RTS/CTS, XON/XOFF, \"RTS/CTS + XON/XOFF\" or \"RTS on TX\""};
        QTest::newRow("COM7") << QStringList{"-p", "COM7"} << ports;
        QTest::newRow("COM0 argument") << QStringList{"COM0"} << ports;
        QTest::newRow("empty port") << QStringList{"--port", ""} << ports;
        QTest::newRow("empty log") << QStringList{"--log", ""} << QStringList{"--log", "a file name"};
        QTest::newRow("save without port") << QStringList{"--save-port"} << QStringList{"--save-port", "-p"};
        QTest::newRow("save a COM name") << QStringList{"--save-port", "-p", "COM2"} << QStringList{"--save-port"};
        QTest::newRow("port twice") << QStringList{"-p", "COM1", "/dev/ttyUSB0"} << QStringList{"twice"};
        QTest::newRow("two arguments") << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"}
                                       << QStringList{"\"/dev/ttyUSB1\""};
        QTest::newRow("unknown") << QStringList{"--bogus"} << QStringList{"bogus"};
        QTest::newRow("joined short option") << QStringList{"-pCOM1"} << QStringList{"pCOM1"};
        QTest::newRow("missing value") << QStringList{"--connect", "-b"} << QStringList{"-b"};
        QTest::newRow("value to a flag") << QStringList{"--connect=yes"} << QStringList{"--connect"};
    }

    void mistakesEndTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, told);
        const TCommandLine commandLine = Parse(arguments);
        QVERIFY(commandLine.Ends());
        QCOMPARE(commandLine.ExitCode(), 2);
        QVERIFY(commandLine.Output().isEmpty());
        QVERIFY(commandLine.Error().startsWith("velorand: "));
        for (const QString &text : told)
            QVERIFY2(commandLine.Error().contains(text), qPrintable(commandLine.Error()));
    }

    void helpNamesEveryOption()
    {
        const TCommandLine commandLine = Parse({"-h", "-b", "1"});
        QCOMPARE(commandLine.ExitCode(), 0);
        QVERIFY(commandLine.Output().startsWith("Usage: velorand [options] [PORT]\n"));
        for (const char *option : {"--version", "-p, --port", "--save-port", "-b, --baud", "--data-bits", "--parity",
                                   "--stop-bits", "--handshaking", "--connect", "--log"})
            QVERIFY2(commandLine.Output().contains(option), option);
    }

    // No display, and Qt told to use one: the program must answer before Qt starts, or it aborts.
    void programAnswersBeforeQtStarts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("error");
        QTest::newRow("version") << QStringList{"--version"} << 0 << "velorand " VELORAND_VERSION "\n" << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: velorand" << "";
        QTest::newRow("bad value") << QStringList{"--parity", "x"} << 2 << ""
                                   << "velorand: bad value \"x\" for --parity; accepted: none, odd, even, mark or "
                                      "space\nTry 'velorand --help' for more information.\n";
    }

    void programAnswersBeforeQtStarts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, error);
        QProcess velorand;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        velorand.setProcessEnvironment(environment);
        velorand.start(VELORAND_PATH, arguments);
        QVERIFY(velorand.waitForFinished(30000));
        QCOMPARE(velorand.exitStatus(), QProcess::NormalExit);
        QCOMPARE(velorand.exitCode(), status);
        const QString printed = QString::fromLocal8Bit(velorand.readAllStandardOutput());
        QVERIFY2(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output), qPrintable(printed));
        QCOMPARE(QString::fromLocal8Bit(velorand.readAllStandardError()), error);
    }
};

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_commandline.moc"
