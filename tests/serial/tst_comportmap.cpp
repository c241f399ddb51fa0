// Which device each COM name reaches.
#include "comportmap.h"
#include "tempconfighome.h"

#include <QTest>

class TstComPortMap : public QObject
{
    Q_OBJECT
private slots:
    void defaults_data();
    void defaults();
    void storedPathWinsAndCanBeForgotten();
    void onlyPortNamesAreStored_data();
    void onlyPortNamesAreStored();
    void runMappingWinsUnwrittenUntilAssignedOrForgotten();
};

void TstComPortMap::defaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("COM1") << "COM1" << "/dev/ttyS0";
    QTest::newRow("COM6") << "COM6" << "/dev/ttyS5";
    QTest::newRow("COM7") << "COM7" << "";
    QTest::newRow("COM0") << "COM0" << "";
    QTest::newRow("lower case") << "com1" << "";
    QTest::newRow("empty") << "" << "";
}

void TstComPortMap::defaults()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    TTempConfigHome home;
    QCOMPARE(TComPortMap().DevicePath(name), path);
    QCOMPARE(TComPortMap::IsPortName(name), !path.isEmpty());
}

void TstComPortMap::storedPathWinsAndCanBeForgotten()
{
    TTempConfigHome home;
    TComPortMap map;
    QVERIFY(map.Assign("COM3", "/dev/ttyUSB0"));
    QCOMPARE(TComPortMap().DevicePath("COM3"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(TUserStore().ReadText("Software\\VELORAND\\Ports", "COM3"), std::optional<QString>("/dev/ttyUSB0"));
    QCOMPARE(map.DevicePath("COM2"), QStringLiteral("/dev/ttyS1"));
    QVERIFY(map.Forget("COM3"));
    QCOMPARE(map.StoredPath("COM3"), std::nullopt);
    QCOMPARE(map.DevicePath("COM3"), QStringLiteral("/dev/ttyS2"));
}

void TstComPortMap::onlyPortNamesAreStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("COM7") << "COM7";
    QTest::newRow("COM10") << "COM10";
    QTest::newRow("key path") << "..\\Macro1";
}

void TstComPortMap::onlyPortNamesAreStored()
{
    QFETCH(QString, name);
    TTempConfigHome home;
    QVERIFY(!TComPortMap().Assign(name, "/dev/null"));
    QVERIFY(TUserStore().ValueNames(TComPortMap::Key()).isEmpty());
}

void TstComPortMap::runMappingWinsUnwrittenUntilAssignedOrForgotten()
{
    TTempConfigHome home;
    TComPortMap map;
    QVERIFY(map.Assign("COM2", "/dev/ttyUSB0"));
    QVERIFY(TComPortMap::MapForRun("COM2", "/dev/ttyACM0"));
    QVERIFY(TComPortMap::MapForRun("COM3", "/dev/ttyACM1"));
    QVERIFY(!TComPortMap::MapForRun("COM7", "/dev/ttyACM2"));
    QCOMPARE(map.DevicePath("COM2"), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(map.StoredPath("COM2"), std::optional<QString>("/dev/ttyUSB0"));
    QCOMPARE(TUserStore().ValueNames(TComPortMap::Key()), QStringList{"COM2"});

    QVERIFY(map.Assign("COM2", "/dev/ttyUSB1"));
    QCOMPARE(map.DevicePath("COM2"), QStringLiteral("/dev/ttyUSB1"));
    QVERIFY(map.Forget("COM3"));
    QCOMPARE(map.DevicePath("COM3"), QStringLiteral("/dev/ttyS2"));

    QVERIFY(TComPortMap::MapForRun("COM1", "/dev/ttyACM0"));
    TComPortMap::ForgetRunMappings();
    QCOMPARE(map.DevicePath("COM1"), QStringLiteral("/dev/ttyS0"));
}

QTEST_GUILESS_MAIN(TstComPortMap)
#include "tst_comportmap.moc"
