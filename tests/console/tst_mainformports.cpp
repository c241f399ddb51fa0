#include "fakeserialplatform.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "comportmap.h"
#include "radiogroup.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

// Choosing the device behind a COM item from the port group's context menu.
class TstMainFormPorts : public QObject
{
    Q_OBJECT

    // Right-clicks the item's button and returns the menu (it stays open, nothing blocks).
    static QMenu *OpenMenu(TMainFormFixture &f, int item)
    {
        QWidget *button = f.Control<TRadioGroup>("ComPortRG")->Button(item);
        const QPoint pos(6, button->height() / 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, button->mapToGlobal(pos));
        QApplication::sendEvent(button, &event);
        return f.Form().findChild<QMenu *>(QStringLiteral("ComPortMenu"));
    }
    static QAction *Action(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

private slots:
    void itemTooltipsShowTheDevice()
    {
        TMainFormFixture f;
        auto *group = f.Control<TRadioGroup>("ComPortRG");
        QCOMPARE(group->Button(0)->toolTip(), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(group->Button(5)->toolTip(), QStringLiteral("/dev/ttyS5"));
        f.MapPort(3, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(group->Button(2)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
    }

    void menuMarksTheAssignedDeviceEvenWhenAbsent()
    {
        TMainFormFixture f;
        const QString gone = f.Home.Path() + QStringLiteral("/ttyUSB9");
        f.MapPort(3, gone);
        QMenu *menu = OpenMenu(f, 2);
        QVERIFY(menu);
        QCOMPARE(menu->actions().first()->text(), gone + QStringLiteral(" (not present)"));
        QList<QAction *> checked;
        for (QAction *action : menu->actions()) {
            if (action->isChecked())
                checked << action;
        }
        QCOMPARE(checked, QList<QAction *>{menu->actions().first()});
        // "Other…" ends the device choices; the reconnect option follows on its own.
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.at(actions.size() - 3)->text(), QStringLiteral("Other…"));
        QCOMPARE(actions.last()->objectName(), QStringLiteral("ReconnectWhenDeviceReturns"));
        menu->close();
    }

    void otherAssignsATypedPath_data()
    {
        QTest::addColumn<std::optional<QString>>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("full path") << std::optional<QString>("/dev/ttyACM3") << "/dev/ttyACM3";
        QTest::newRow("bare name") << std::optional<QString>("  ttyUSB7 ") << "/dev/ttyUSB7";
        QTest::newRow("empty") << std::optional<QString>("   ") << "/dev/ttyS1";
        QTest::newRow("cancelled") << std::optional<QString>() << "/dev/ttyS1";
    }
    void otherAssignsATypedPath()
    {
        QFETCH(std::optional<QString>, typed);
        QFETCH(QString, stored);
        TMainFormFixture f;
        f.Dialogs.TextAnswers.push_back(typed);
        QMenu *menu = OpenMenu(f, 1);
        QVERIFY(menu);
        Action(menu, QStringLiteral("Other…"))->trigger();
        QCOMPARE(f.Dialogs.TextRequests, QStringList{QStringLiteral("Device for COM2")});
        QCOMPARE(TComPortMap().DevicePath(QStringLiteral("COM2")), stored);
        QCOMPARE(f.Control<TRadioGroup>("ComPortRG")->Button(1)->toolTip(), stored);
        QCOMPARE(TComPortMap().DevicePath(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
    }

    void newDeviceForTheConnectedPortReconnects()
    {
        TPseudoTerminal first;
        TPseudoTerminal second;
        QVERIFY(first.IsValid() && second.IsValid());
        TMainFormFixture f;
        f.MapPort(1, first.SlavePath());
        f.Click("ConnectBtn");
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));

        f.Dialogs.TextAnswers.push_back(second.SlavePath());
        Action(OpenMenu(f, 0), QStringLiteral("Other…"))->trigger();
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
        QVERIFY(f.Form().CommPortDriver().WriteText("x"));
        QCOMPARE(second.Read(1), QByteArray("x"));
        QVERIFY(first.Read(1, 200).isEmpty());
    }

    void newDeviceForAnotherPortLeavesTheConnectionAlone()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        platform.Calls.clear();
        f.Form().AssignPortDevice(4, QStringLiteral("/dev/ttyUSB9"));
        QCOMPARE(platform.CallsStartingWith({"Open", "Close"}), QStringList());
        QCOMPARE(TComPortMap().DevicePath(QStringLiteral("COM5")), QStringLiteral("/dev/ttyUSB9"));
    }
};

QTEST_MAIN(TstMainFormPorts)
#include "tst_mainformports.moc"
