// The status bar's words for a port: failure reasons, the device's readable name, the traffic.
#include "portdiagnosis.h"
#include "portfailuretext.h"
#include "trafficmeter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TPortDiagnosis)

namespace {

TPortDiagnosis Diagnosis(TOpenFailure failure, TPortDiagnosis::TKind kind = TPortDiagnosis::TKind::Device)
{
    TPortDiagnosis d;
    d.Failure = failure;
    d.Device = QStringLiteral("/dev/ttyUSB0");
    d.Kind = kind;
    return d;
}

} // namespace

class TstPortStatus : public QObject
{
    Q_OBJECT

private slots:
    void failuresInWordsToActOn_data()
    {
        QTest::addColumn<TPortDiagnosis>("diagnosis");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("explained");
        using TKind = TPortDiagnosis::TKind;
        using TAccess = TPortDiagnosis::TAccess;
        QTest::newRow("missing") << Diagnosis(TOpenFailure::NoSuchDevice, TKind::Missing)
                                 << "/dev/ttyUSB0 does not exist: is the adapter plugged in?" << "no such device";
        TPortDiagnosis held = Diagnosis(TOpenFailure::InUse);
        held.HolderName = QStringLiteral("minicom");
        held.HolderPid = 1234;
        QTest::newRow("held") << held << "/dev/ttyUSB0 is in use by minicom, PID 1234" << "Close that program";
        TPortDiagnosis group = Diagnosis(TOpenFailure::PermissionDenied);
        group.Access = TAccess::NotInGroup;
        group.Group = QStringLiteral("uucp");
        QTest::newRow("not in group")
            << group
            << "/dev/ttyUSB0: you are not in the group that owns it (uucp): sudo adduser $USER uucp, then log in again"
            << "sudo adduser $USER uucp";
        TPortDiagnosis root = Diagnosis(TOpenFailure::PermissionDenied);
        root.Access = TAccess::RootOnly;
        QTest::newRow("root only") << root << "/dev/ttyUSB0: only root may open it" << "udev rule";
        QTest::newRow("refused") << Diagnosis(TOpenFailure::PermissionDenied) << "/dev/ttyUSB0: permission denied"
                                 << "dialout";
        QTest::newRow("file") << Diagnosis(TOpenFailure::NotASerialPort, TKind::RegularFile)
                              << "/dev/ttyUSB0 is a regular file, not a serial device" << "choose another device";
        QTest::newRow("other") << Diagnosis(TOpenFailure::Other) << "/dev/ttyUSB0 could not be opened"
                               << "could not be opened";
    }
    void failuresInWordsToActOn()
    {
        QFETCH(TPortDiagnosis, diagnosis);
        QFETCH(QString, shown);
        QFETCH(QString, explained);
        const TPortReason reason = DescribeOpenFailure(diagnosis);
        QCOMPARE(reason.Short, shown);
        QVERIFY2(reason.Explanation.contains(explained), qPrintable(reason.Explanation));
        QVERIFY(reason.Explanation.contains(diagnosis.Device));
    }

    void deviceShowsItsReadableName()
    {
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("by-id"));
        const QString node = root.filePath(QStringLiteral("ttyUSB0"));
        QFile(node).open(QIODevice::WriteOnly);
        QFile::link(node, root.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0")));
        const QString byId = root.filePath(QStringLiteral("by-id"));
        const QString named = node + QStringLiteral(" (FTDI FT232R USB UART A9XYZ)");
        QCOMPARE(DeviceLabel(node, byId), named);
        QCOMPARE(DeviceLabel(byId + QStringLiteral("/usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0"), byId), named);
        QCOMPARE(DeviceLabel(root.filePath(QStringLiteral("ttyUSB1")), byId), root.filePath(QStringLiteral("ttyUSB1")));
    }

    void amountsInDecimalUnits_data()
    {
        QTest::addColumn<double>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("999") << 999.0 << "999 B";
        QTest::newRow("3000") << 3000.0 << "3 kB";
        QTest::newRow("11500") << 11500.0 << "11.5 kB";
        QTest::newRow("999960") << 999960.0 << "1 MB";
        QTest::newRow("1234567") << 1234567.0 << "1.2 MB";
        QTest::newRow("5e12") << 5e12 << "5 TB";
    }
    void amountsInDecimalUnits()
    {
        QFETCH(double, bytes);
        QFETCH(QString, text);
        QCOMPARE(TTrafficMeter::Amount(bytes), text);
    }

    void trafficShowsTotalsAndTheLastRate()
    {
        TTrafficMeter meter;
        meter.Reset(1000);
        QCOMPARE(meter.Text(), QStringLiteral("RX 0 B   TX 0 B"));
        meter.Sample(1200000, 3000, 2000);
        meter.Sample(1211500, 3000, 3000);
        QCOMPARE(meter.Text(), QStringLiteral("RX 1.2 MB · 11.5 kB/s   TX 3 kB"));
    }
};

QTEST_GUILESS_MAIN(TstPortStatus)
#include "tst_portstatus.moc"
