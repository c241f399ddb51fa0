// The status bar's additions: the port section with its failure reasons, the modem input lamps,
// the traffic counts, and Send Break in the transmit box's menu.
#include "fakeserialplatform.h"
#include "mainformfixture.h"

#include "aled.h"
#include "commportdriver.h"
#include "linelamps.h"
#include "radiogroup.h"
#include "statussection.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

namespace {

void Select(TMainFormFixture &f, const char *group, int item)
{
    QRadioButton *button = f.Control<TRadioGroup>(group)->Button(item);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QString PortText(TMainFormFixture &f)
{
    return f.Control<TStatusSection>("PortSection")->Text();
}

QList<bool> Lamps(TMainFormFixture &f)
{
    QList<bool> values;
    for (const char *name : {"CTSLed", "DSRLed", "DCDLed", "RILed"})
        values << f.Control<TALed>(name)->Value();
    return values;
}

} // namespace

class TstMainFormStatus : public QObject
{
    Q_OBJECT

private slots:
    void portSectionNamesDeviceAndSettings()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.MapPort(1, QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(PortText(f), QStringLiteral("COM1 → /dev/ttyUSB7"));
        Select(f, "BaudRateRG", 10);
        Select(f, "HandshakingRG", 1);
        f.Click("ConnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
        QCOMPARE(PortText(f), QStringLiteral("COM1 → /dev/ttyUSB7 · 115200 8N1 · RTS/CTS"));
        Select(f, "ParityRG", 3);
        Select(f, "StopBitsRG", 2);
        QCOMPARE(PortText(f), QStringLiteral("COM1 → /dev/ttyUSB7 · 115200 8M2 · RTS/CTS"));
        f.Click("DisconnectBtn");
        QCOMPARE(PortText(f), QStringLiteral("COM1 → /dev/ttyUSB7"));
        QCOMPARE(f.Control<TStatusSection>("PortSection")->accessibleName(), QStringLiteral("Port"));
    }

    void failureReasonIsShownAndExplainedOnClick()
    {
        TMainFormFixture f;
        QTemporaryDir folder;
        const QString device = folder.filePath(QStringLiteral("ttyUSB0"));
        f.MapPort(1, device);
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        f.Click("ConnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Error: port is not available"));
        QCOMPARE(PortText(f), QStringLiteral("COM1: %1 does not exist: is the adapter plugged in?").arg(device));
        auto *section = f.Control<TStatusSection>("PortSection");
        QVERIFY(section->Clickable());
        QTest::mouseClick(section, Qt::LeftButton, {}, QPoint(4, section->height() / 2));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), section->toolTip());
        QVERIFY(QToolTip::text().contains(device));
        f.Form().DisconnectBtnClick();
        QCOMPARE(PortText(f), QStringLiteral("COM1 → ") + device);
        QVERIFY(!section->Clickable());
    }

    void lampsShowTheInputLines()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        auto *lamps = f.Control<TLineLamps>("ModemLamps");
        platform.SetInputs(std::nullopt);
        f.Click("ConnectBtn");
        QVERIFY(!lamps->Available() && !lamps->Lamp(0)->isEnabled());
        QVERIFY(lamps->Lamp(0)->toolTip().contains(QStringLiteral("no modem lines")));
        f.Click("DisconnectBtn");
        platform.SetInputs(TModemInputs{true, false, true, false});
        f.Click("ConnectBtn");
        QVERIFY(lamps->Available());
        QCOMPARE(Lamps(f), (QList<bool>{true, false, true, false}));
        platform.SetInputs(TModemInputs{false, true, true, true});
        QTRY_COMPARE(Lamps(f), (QList<bool>{false, true, true, true}));
        QAccessibleInterface *ri = QAccessible::queryAccessibleInterface(f.Control<TALed>("RILed"));
        QCOMPARE(ri->role(), QAccessible::CheckBox);
        QCOMPARE(ri->text(QAccessible::Name), QStringLiteral("RI lamp"));
        QVERIFY(ri->state().checked && ri->state().readOnly && !ri->state().disabled);
        f.Click("DisconnectBtn");
        QCOMPARE(Lamps(f), (QList<bool>{false, false, false, false}));
        QVERIFY(ri->state().disabled);
    }

    void trafficIsCountedWhileConnected()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        auto *traffic = f.Control<QLabel>("TrafficSection");
        QVERIFY(!traffic->isVisibleTo(&f.Form()));
        f.Click("ConnectBtn");
        QVERIFY(traffic->isVisibleTo(&f.Form()));
        QCOMPARE(traffic->text(), QStringLiteral("RX 0 B   TX 0 B"));
        platform.Incoming = QByteArray(1500, 'x');
        QVERIFY(f.Form().CommPortDriver().WriteText("AT\r"));
        QTRY_VERIFY(traffic->text().startsWith(QStringLiteral("RX 1.5 kB")));
        QVERIFY(traffic->text().contains(QStringLiteral("TX 3 B")));
        f.Click("DisconnectBtn");
        QVERIFY(!traffic->isVisibleTo(&f.Form()));
    }

    void sendBreakFromTheTransmitMenu()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        auto *txMemo = f.Control<QPlainTextEdit>("TxMemo");
        const auto openMenu = [&] {
            emit txMemo->customContextMenuRequested(QPoint(5, 5));
            auto *menu = f.Form().findChild<QMenu *>(QStringLiteral("TxMemoMenu"));
            return menu ? menu->findChild<QAction *>(QStringLiteral("SendBreak")) : nullptr;
        };
        QAction *sendBreak = openMenu();
        QVERIFY(sendBreak);
        QCOMPARE(sendBreak->text(), QStringLiteral("Send Break"));
        QVERIFY(!sendBreak->isEnabled());
        delete sendBreak->parent();
        f.Click("ConnectBtn");
        sendBreak = openMenu();
        QVERIFY(sendBreak && sendBreak->isEnabled());
        sendBreak->trigger();
        QVERIFY(platform.Break);
        QTRY_VERIFY(!platform.Break);
        QCOMPARE(platform.CallsStartingWith({"SetBreak"}), QStringList({"SetBreak 1", "SetBreak 0"}));
    }
};

QTEST_MAIN(TstMainFormStatus)
#include "tst_mainformstatus.moc"
