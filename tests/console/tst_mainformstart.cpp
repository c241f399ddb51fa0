// The command line's choices applied to the real window over its restored state.
#include "fakeserialplatform.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "commandline.h"
#include "commportdriver.h"
#include "comportmap.h"
#include "radiogroup.h"
#include "userstore.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const char *const kGroups[] = {"ComPortRG", "BaudRateRG", "DataBitsRG", "ParityRG", "StopBitsRG", "HandshakingRG"};

// Each group's stored item, as an earlier run left them, and the window started on them.
void StartOn(TMainFormFixture &f, const QList<int> &items)
{
    for (int i = 0; i < items.size(); ++i) {
        QVERIFY(TUserStore().WriteText(TMainFormFixture::StateSection(), QString(kGroups[i]) + "_ItemIndex",
                                       QString::number(items[i])));
    }
    f.Restart();
    f.Form().show();
}

QList<int> Items(const TMainFormFixture &f)
{
    QList<int> items;
    for (const char *group : kGroups)
        items << f.Control<TRadioGroup>(group)->ItemIndex();
    return items;
}

TStartOptions Options(const QStringList &arguments)
{
    const TCommandLine commandLine(QStringList{"velorand"} + arguments);
    [&] { QVERIFY2(!commandLine.Ends(), qPrintable(commandLine.Error())); }();
    return commandLine.Options();
}

} // namespace

class TstMainFormStart : public QObject
{
    Q_OBJECT

private slots:
    void withoutOptionsTheRestoredStateStands()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        const QList<int> stored{2, 10, 2, 3, 1, 4};
        StartOn(f, stored);
        f.Form().ApplyStartOptions(TStartOptions());
        QCOMPARE(Items(f), stored);
        QVERIFY(platform.CallsStartingWith({"Open"}).isEmpty());
        QVERIFY(f.Control<QPushButton>("StartLog")->isEnabled());
        QCOMPARE(f.Control<TRadioGroup>("ComPortRG")->Button(2)->toolTip(), QStringLiteral("/dev/ttyS2"));
    }

    void optionsWinOverStoredStateAndAreStoredAtQuit()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        StartOn(f, {2, 10, 2, 3, 1, 4});
        f.Form().ApplyStartOptions(Options({"-p", "COM5", "-b", "600", "--data-bits", "8", "--parity", "odd",
                                            "--stop-bits", "2", "--handshaking", "XON/XOFF"}));
        const QList<int> chosen{4, 0, 3, 1, 2, 2};
        QCOMPARE(Items(f), chosen);
        const TCommPortDriver &driver = f.Form().CommPortDriver();
        QCOMPARE(driver.ComPort(), pnCOM5);
        QCOMPARE(driver.ComPortSpeed(), br600);
        QCOMPARE(driver.ComPortDataBits(), db8BITS);
        QCOMPARE(driver.ComPortParity(), ptODD);
        QCOMPARE(driver.ComPortStopBits(), sb2BITS);
        QCOMPARE(driver.ComPortSwHandshaking(), shXONXOFF);
        f.Restart();
        f.Form().show();
        QCOMPARE(Items(f), chosen);
    }

    // The parser's values and the window's captions must not drift apart.
    void everyCaptionOfTheWindowIsAValue_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("option");
        QTest::newRow("baud") << "BaudRateRG" << "--baud";
        QTest::newRow("data bits") << "DataBitsRG" << "--data-bits";
        QTest::newRow("parity") << "ParityRG" << "--parity";
        QTest::newRow("stop bits") << "StopBitsRG" << "--stop-bits";
        QTest::newRow("handshaking") << "HandshakingRG" << "--handshaking";
        QTest::newRow("port") << "ComPortRG" << "--port";
    }

    void everyCaptionOfTheWindowIsAValue()
    {
        QFETCH(QString, group);
        QFETCH(QString, option);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Form().show();
        const QStringList captions = f.Control<TRadioGroup>(qPrintable(group))->Items();
        for (int item = 0; item < captions.size(); ++item) {
            f.Form().ApplyStartOptions(Options({option, captions[item]}));
            QCOMPARE(f.Control<TRadioGroup>(qPrintable(group))->ItemIndex(), item);
        }
    }

    void deviceGoesBehindTheSelectedPort_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("for this run") << false;
        QTest::newRow("saved") << true;
    }

    void deviceGoesBehindTheSelectedPort()
    {
        QFETCH(bool, save);
        TPseudoTerminal device;
        QVERIFY(device.IsValid());
        TMainFormFixture f;
        StartOn(f, {2});
        QStringList arguments{device.SlavePath(), "--connect"};
        if (save)
            arguments << "--save-port";
        f.Form().ApplyStartOptions(Options(arguments));
        QCOMPARE(f.Control<TRadioGroup>("ComPortRG")->ItemIndex(), 2);
        QVERIFY(f.Form().CommPortDriver().IsOpen());
        QCOMPARE(f.Form().CommPortDriver().LastOpenDevice(), device.SlavePath());
        QCOMPARE(f.Control<TRadioGroup>("ComPortRG")->Button(2)->toolTip(), device.SlavePath());
        f.Restart();
        QCOMPARE(TComPortMap().StoredPath("COM3"), save ? std::optional(device.SlavePath()) : std::nullopt);
        QCOMPARE(TUserStore().ValueNames(TComPortMap::Key()).size(), save ? 1 : 0);
    }

    void logStartsAndThenThePortOpens()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Form().show();
        const QString path = f.Home.Path() + "/rx.log";
        f.Form().ApplyStartOptions(Options({"--log", path, "--connect"}));
        QVERIFY(!f.Control<QPushButton>("StartLog")->isEnabled());
        QVERIFY(f.Form().CommPortDriver().IsOpen());
        QVERIFY(f.Dialogs.FileRequests.isEmpty());
        f.Click("StopLog");
        QFile log(path);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().startsWith("Velorand log file\r\nDate: "));
    }

    void logThatCannotStartLeavesThePortClosed()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Form().show();
        f.Form().ApplyStartOptions(Options({"--log", f.Home.Path() + "/missing/rx.log", "--connect"}));
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY(f.Control<QPushButton>("StartLog")->isEnabled());
        QVERIFY(platform.CallsStartingWith({"Open"}).isEmpty());
    }
};

QTEST_MAIN(TstMainFormStart)
#include "tst_mainformstart.moc"
