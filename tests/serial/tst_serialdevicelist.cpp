#include "serialdevicelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Device discovery on a made-up /dev and /sys tree.
class TstSerialDeviceList : public QObject
{
    Q_OBJECT

    static void Touch(const QString &path, const QByteArray &content = QByteArray())
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void listsByIdFirstThenNodesInNumericOrder()
    {
        QTemporaryDir root;
        const QString dev = root.path() + "/dev";
        for (const char *name : {"ttyS10", "ttyS2", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0", "tty0", "null"})
            Touch(dev + "/" + name);
        Touch(root.path() + "/sys/class/tty/ttyS2/type", "0\n");   // no UART behind it
        Touch(root.path() + "/sys/class/tty/ttyS0/type", "4\n");
        QDir().mkpath(dev + "/serial/by-id");
        QVERIFY(QFile::link("../../ttyUSB1", dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0"));
        QVERIFY(QFile::link("../../ttyUSB5", dev + "/serial/by-id/usb-Gone_Adapter-if00"));   // dangling

        QStringList labels;
        for (const TSerialDevice &device : TSerialDeviceList(root.path()).Devices())
            labels << device.Label;
        const QStringList expected{"FTDI FT232R USB UART A9XYZ (ttyUSB1)", dev + "/ttyUSB0", dev + "/ttyUSB1",
                                   dev + "/ttyACM0", dev + "/ttyS0", dev + "/ttyS10"};
        QCOMPARE(labels, expected);
        QCOMPARE(TSerialDeviceList(root.path()).Devices().first().Path,
                 dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0");
    }

    void missingFoldersGiveAnEmptyList()
    {
        QTemporaryDir root;
        QVERIFY(TSerialDeviceList(root.path()).Devices().isEmpty());
        QVERIFY(TSerialDeviceList(root.path() + "/nowhere").Devices().isEmpty());
    }

    void readableNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("readable");
        QTest::newRow("ftdi") << "usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0" << "FTDI FT232R USB UART A9XYZ";
        QTest::newRow("acm") << "usb-Arduino__www.arduino.cc__0043_7503-if00" << "Arduino www.arduino.cc 0043 7503";
        QTest::newRow("escaped blank") << "usb-Silicon\\x20Labs_CP2102-if00-port0" << "Silicon Labs CP2102";
        QTest::newRow("plain") << "mydevice" << "mydevice";
        QTest::newRow("only bus") << "usb-" << "usb-";
    }
    void readableNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, readable);
        QCOMPARE(TSerialDeviceList::ReadableName(name), readable);
    }
};

QTEST_GUILESS_MAIN(TstSerialDeviceList)
#include "tst_serialdevicelist.moc"
