// Reconnecting when the device returns: pseudo-terminals behind a link stand for an adapter that
// is unplugged and plugged back.
#include "fakeserialplatform.h"
#include "mainformfixture.h"
#include "nothinghappens.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "memolines.h"
#include "memoview.h"
#include "posixserialplatform.h"
#include "radiogroup.h"
#include "useroptions.h"
#include "userstore.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The real serial layer, counting the opens the window asks for.
class TCountingPlatform : public TPosixSerialPlatform
{
public:
    TSerialOpenResult Open(const QString &name) override
    {
        ++Opens;
        return TPosixSerialPlatform::Open(name);
    }
    int Opens = 0;
};

int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::System | QDir::NoDotAndDotDot).size());
}

void Select(TMainFormFixture &f, const char *group, int item)
{
    QRadioButton *button = f.Control<TRadioGroup>(group)->Button(item);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Ticks the option in COM1's right-click menu.
void TurnReconnectOn(TMainFormFixture &f)
{
    QWidget *button = f.Control<TRadioGroup>("ComPortRG")->Button(0);
    const QPoint pos(6, button->height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, button->mapToGlobal(pos));
    QApplication::sendEvent(button, &event);
    auto *menu = f.Form().findChild<QMenu *>(QStringLiteral("ComPortMenu"));
    QVERIFY(menu);
    auto *option = menu->findChild<QAction *>(QStringLiteral("ReconnectWhenDeviceReturns"));
    QVERIFY(option && option->isCheckable() && !option->isChecked());
    option->trigger();
    menu->close();
    QVERIFY(f.Form().ReconnectWhenDeviceReturns());
}

QStringList Received(TMainFormFixture &f)
{
    return QString::fromLatin1(f.Control<TMemoView>("RxMemo")->Lines().Text()).split(QStringLiteral("\r\n"));
}

// Connects COM1, standing for device, with the option on, and has the device go away.
void LoseTheDevice(TMainFormFixture &f, TFakeSerialPlatform &platform, const QString &device)
{
    f.MapPort(1, device);
    f.Form().SetReconnectWhenDeviceReturns(true);
    f.Click("ConnectBtn");
    platform.Failures.insert(QStringLiteral("Read"), TSerialStatus::Gone);
    QTRY_VERIFY(f.Form().WaitingForDevice());
    platform.Failures.clear();
}

int GapLines(TMainFormFixture &f, const char *event)
{
    const QRegularExpression gap(QStringLiteral("^--- COM1 %1 \\d\\d:\\d\\d:\\d\\d ---$").arg(QLatin1String(event)));
    return int(Received(f).filter(gap).size());
}

} // namespace

class TstMainFormReconnect : public QObject
{
    Q_OBJECT

private slots:
    void tenReplugsComeBackWithSettingsAndData()
    {
        TCountingPlatform platform;
        TMainFormFixture f(&platform);
        QTemporaryDir folder;
        const QString link = folder.filePath(QStringLiteral("board"));
        auto pty = std::make_unique<TPseudoTerminal>();
        QVERIFY(QFile::link(pty->SlavePath(), link));
        f.MapPort(1, link);
        TurnReconnectOn(f);
        Select(f, "BaudRateRG", 10);
        Select(f, "HandshakingRG", 2);
        const QString log = folder.filePath(QStringLiteral("rx.log"));
        f.Dialogs.FileAnswers.push_back(log);
        f.Click("StartLog");
        f.Click("ConnectBtn");
        f.Click("SetDTRBtn");
        TCommPortDriver &driver = f.Form().CommPortDriver();
        int descriptors = -1;
        for (int cycle = 0; cycle < 10; ++cycle) {
            pty->CloseMaster();
            QFile::remove(link);
            QTRY_VERIFY(f.Form().WaitingForDevice());
            QCOMPARE(f.Form().StatusText(), QStringLiteral("Waiting for COM1 (%1)…").arg(link));
            QVERIFY(f.Control<QPushButton>("DisconnectBtn")->isEnabled());
            const int opens = platform.Opens;
            // While the path is missing nothing is tried.
            if (cycle == 0)
                QVERIFY(NothingHappensWithin(200, [&] { return platform.Opens != opens; }));
            pty = std::make_unique<TPseudoTerminal>();
            QVERIFY(QFile::link(pty->SlavePath(), link));
            QTRY_VERIFY_WITH_TIMEOUT(driver.IsOpen(), 1000);
            QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
            QCOMPARE(f.App.Title(), QStringLiteral("Velorand - Connected"));
            // Opened on the link's notice, not by trying again and again.
            QVERIFY2(platform.Opens - opens <= 2, qPrintable(QString::number(platform.Opens - opens)));
            QCOMPARE(pty->Settings().OutputRate, 115200u);
            QVERIFY(pty->Settings().XonXoffInput);
            QVERIFY(driver.DTRLevel());

            const QByteArray ping = "ping " + QByteArray::number(cycle);
            QVERIFY(pty->Write(ping + '\r'));
            QTRY_VERIFY(Received(f).contains(QString::fromLatin1(ping)));
            QVERIFY(driver.WriteText("pong\r"));
            QCOMPARE(pty->Read(5), QByteArray("pong\r"));
            if (cycle == 0)
                descriptors = OpenDescriptors();
            QTRY_COMPARE(OpenDescriptors(), descriptors);
        }
        QCOMPARE(GapLines(f, "lost"), 10);
        QCOMPARE(GapLines(f, "back"), 10);
        f.Click("StopLog");
        QFile written(log);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray logged = written.readAll();
        QVERIFY2(!logged.contains("COM1 lost") && !logged.contains("COM1 back"), logged.constData());
        QVERIFY(logged.contains("ping 9"));
    }

    void linesAndSettingsReturnAsTheyWere()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        QTemporaryDir folder;
        const QString device = folder.filePath(QStringLiteral("ttyUSB0"));
        f.MapPort(1, device);
        f.Form().SetReconnectWhenDeviceReturns(true);
        Select(f, "ParityRG", 2);
        f.Click("ConnectBtn");
        f.Click("SetDTRBtn");
        f.Click("SetRTSBtn");
        platform.Failures.insert(QStringLiteral("Read"), TSerialStatus::Gone);
        QTRY_VERIFY(f.Form().WaitingForDevice());
        QCOMPARE(f.Dialogs.Beeps, 0);
        platform.Failures.clear();
        platform.Calls.clear();
        QFile(device).open(QIODevice::WriteOnly);
        QTRY_VERIFY(f.Form().CommPortDriver().IsOpen());
        QCOMPARE(platform.CallsStartingWith({"Open", "Escape"}), QStringList({"Open COM1", "Escape 5", "Escape 3"}));
        QCOMPARE(platform.LineStates.last().Parity, 2);
        QVERIFY(platform.Dtr && platform.Rts);
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
    }

    void aNewDeviceForTheWaitingPortIsTriedAtOnce()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        QTemporaryDir folder;
        LoseTheDevice(f, platform, folder.filePath(QStringLiteral("ttyUSB0")));
        const QString other = folder.filePath(QStringLiteral("ttyACM0"));
        QFile(other).open(QIODevice::WriteOnly);
        f.Form().AssignPortDevice(0, other);
        QVERIFY(f.Form().CommPortDriver().IsOpen());
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
    }

    void waitingEnds_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Disconnect") << 0;
        QTest::newRow("another port") << 1;
        QTest::newRow("Auto Dis/Connect") << 2;
        QTest::newRow("option off") << 3;
    }
    void waitingEnds()
    {
        QFETCH(int, how);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        QTemporaryDir folder;
        LoseTheDevice(f, platform, folder.filePath(QStringLiteral("ttyUSB0")));
        if (how == 0) {
            f.Click("DisconnectBtn");
        } else if (how == 1) {
            Select(f, "ComPortRG", 1);
        } else if (how == 2) {
            f.Control<QCheckBox>("cbAuto")->setChecked(true);
            f.Form().AppEventsDeactivate();
        } else {
            f.Form().SetReconnectWhenDeviceReturns(false);
        }
        QVERIFY(!f.Form().WaitingForDevice());
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
        QVERIFY(f.Control<QPushButton>("ConnectBtn")->isEnabled());
        QVERIFY(!f.Control<QPushButton>("DisconnectBtn")->isEnabled());
        QVERIFY(!f.Form().CommPortDriver().IsOpen());
    }

    void optionIsStoredApartFromTheWindowState()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        TurnReconnectOn(f);
        QCOMPARE(TUserStore().ReadText(UserOptions::Key(), QStringLiteral("ReconnectWhenDeviceReturns")),
                 QStringLiteral("True"));
        f.Restart();
        QVERIFY(f.Form().ReconnectWhenDeviceReturns());
        f.Form().SaveWindowState();
        for (const QString &name : TUserStore().ValueNames(TMainFormFixture::StateSection()))
            QVERIFY2(!name.contains(QStringLiteral("Reconnect"), Qt::CaseInsensitive), qPrintable(name));
        f.Form().SetReconnectWhenDeviceReturns(false);
        QCOMPARE(TUserStore().ReadText(UserOptions::Key(), QStringLiteral("ReconnectWhenDeviceReturns")),
                 QStringLiteral("False"));
    }
};

QTEST_MAIN(TstMainFormReconnect)
#include "tst_mainformreconnect.moc"
