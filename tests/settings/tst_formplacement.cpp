#include "formplacement.h"
#include "formstorage.h"
#include "storedwindow.h"
#include "storetestcase.h"

#include <QCheckBox>
#include <QtTest>

namespace {

const QString kProgramKey = QStringLiteral("Software\\Test");
const QString kSection = QStringLiteral("Software\\Test\\WindowState");

// The main window's two components as the window holds them: Placement attached first, Storage
// second; destroyed in the opposite order.
struct TStateFixture
{
    explicit TStateFixture(const TUserStore &store = TUserStore(), QSize screen = {1024, 768},
                           int pixelsPerInch = 96)
        : Screen{screen, pixelsPerInch, {}}
    {
        Placement = std::make_unique<TFormPlacement>(&Window);
        Storage = std::make_unique<TFormStorage>(&Window);
        Storage->SetStoredProps({"cbAuto.Checked", "Control.ItemIndex"});
        for (TFormPlacement *component : Components()) {
            component->SetProgramKey(kProgramKey);
            component->SetStore(store);
            component->SetScreenInfo([this] { return Screen; });
            component->OnError = [this](const QString &message) { Errors.append(message); };
        }
    }
    ~TStateFixture() { DestroyComponents(); }
    QList<TFormPlacement *> Components() const { return {Placement.get(), Storage.get()}; }
    void DestroyComponents()
    {
        Storage.reset();
        Placement.reset();
    }

    TScreenInfo Screen;
    TStoredWindow Window;
    std::unique_ptr<TFormPlacement> Placement;
    std::unique_ptr<TFormStorage> Storage;
    QStringList Errors;
};

void Store(const QMap<QString, QString> &values)
{
    TUserStore store;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        QVERIFY(store.WriteText(kSection, it.key(), it.value()));
}

QString Stored(const QString &name)
{
    return TUserStore().ReadText(kSection, name).value_or("<missing>");
}

QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QRect StoredRect(const QString &normPos)
{
    const QStringList edges = normPos.split(QLatin1Char(','));
    return Rect(edges[0].toInt(), edges[1].toInt(), edges[2].toInt(), edges[3].toInt());
}

// The primary screen, and one right of it with a panel along its top.
const QList<QRect> kWorkAreas{QRect(0, 0, 1024, 768), QRect(1024, 40, 1280, 984)};

} // namespace

class TstFormPlacement : public TStoreTestCase
{
    Q_OBJECT

private slots:

    void programKeyIsTheExecutablesBaseName_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("key");
        QTest::newRow("plain") << "/usr/bin/velorand" << "Software\\velorand";
        QTest::newRow("extension") << "/opt/x/Foo.exe" << "Software\\Foo";
        QTest::newRow("renamed") << "/home/u/Other.Name.bin" << "Software\\Other.Name";
    }
    void programKeyIsTheExecutablesBaseName()
    {
        QFETCH(QString, executable);
        QFETCH(QString, key);
        QCOMPARE(TFormPlacement::StateKeyPath(executable), key);
    }

    void firstRunOpensMaximizedAndCloseWritesTheFullSection()
    {
        TStateFixture state;
        state.Window.show();
        QVERIFY(state.Window.isMaximized());
        QVERIFY(TUserStore().KeyExists(kProgramKey));
        QVERIFY(!TUserStore().KeyExists(kSection));
        QVERIFY(state.Storage->Restored() && state.Placement->Restored());

        state.Window.close();
        QStringList names = TUserStore().ValueNames(kSection);
        names.sort();
        QCOMPARE(names, (QStringList{"Control_ItemIndex", "Flags", "FormVersion", "MinMaxPos",
                                     "MinMaxPos(1024x768)", "NormPos", "NormPos(1024x768)",
                                     "PixelsPerInch", "ShowCmd", "Visible", "cbAuto_Checked"}));
        QCOMPARE(Stored("ShowCmd"), QString("3"));
        QCOMPARE(Stored("FormVersion"), QString("0"));
        QCOMPARE(Stored("PixelsPerInch"), QString("96"));
        QCOMPARE(Stored("Visible"), QString("0"));
        QCOMPARE(Stored("NormPos"), Stored("NormPos(1024x768)"));
        QVERIFY(state.Errors.isEmpty());
    }

    void storedPlacementIsApplied_data()
    {
        QTest::addColumn<QString>("showCmd");
        QTest::addColumn<int>("state");
        const int normal = Qt::WindowNoState;
        const int maximized = Qt::WindowMaximized;
        QTest::newRow("normal") << "1" << normal;
        QTest::newRow("normal 5") << "5" << normal;
        QTest::newRow("maximized") << "3" << maximized;
        QTest::newRow("unknown keeps default") << "4" << maximized;
        QTest::newRow("not a number") << "max" << maximized;
        QTest::newRow("hexadecimal") << "0x1" << normal;
    }
    void storedPlacementIsApplied()
    {
        QFETCH(QString, showCmd);
        QFETCH(int, state);
        Store({{"ShowCmd", showCmd}, {"PixelsPerInch", "96"},
               {"NormPos(1024x768)", "50, 60,,450 , 360"}, {"MinMaxPos", "-1,-1,-4,-4"},
               {"cbAuto_Checked", "True"}});
        TStateFixture fixture;
        fixture.Window.show();
        QCOMPARE(int(fixture.Window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)), state);
        QCOMPARE(fixture.Window.normalGeometry(), Rect(50, 60, 450, 360));
        QVERIFY(fixture.Window.Check->isChecked());
        fixture.Window.close();
        QCOMPARE(Stored("NormPos"), QString("50,60,450,360"));
    }

    void minimizedStateMinimizesOnceShown()
    {
        Store({{"ShowCmd", "2"}, {"PixelsPerInch", "96"}, {"NormPos", "10,20,310,220"}});
        TStateFixture fixture;
        fixture.Window.show();
        QVERIFY(!fixture.Window.isMinimized());
        QCOMPARE(fixture.Window.normalGeometry(), Rect(10, 20, 310, 220));
        QTRY_VERIFY(fixture.Window.isMinimized());
        fixture.Window.close();
        QCOMPARE(Stored("ShowCmd"), QString("2"));
    }

    void positionsAreSkippedButStateAndPropertiesApplied_data()
    {
        QTest::addColumn<QString>("pixelsPerInch");
        QTest::addColumn<QString>("normPos");
        QTest::newRow("other pixels per inch") << "120" << "50,60,450,360";
        QTest::newRow("right not beyond left") << "96" << "450,60,450,360";
        QTest::newRow("bottom not below top") << "96" << "50,360,450,300";
        QTest::newRow("beyond any size") << "96" << "-2147483648,-2147483648,2147483647,2147483647";
    }
    void positionsAreSkippedButStateAndPropertiesApplied()
    {
        QFETCH(QString, pixelsPerInch);
        QFETCH(QString, normPos);
        Store({{"ShowCmd", "1"}, {"PixelsPerInch", pixelsPerInch}, {"NormPos", normPos},
               {"Control_ItemIndex", "2"}});
        TStoredWindow placedBySystem;
        placedBySystem.show();
        TStateFixture fixture;
        fixture.Window.show();
        QCOMPARE(fixture.Window.geometry(), placedBySystem.geometry());
        QVERIFY(!fixture.Window.isMaximized());
        QCOMPARE(fixture.Window.Control->ItemIndex(), 2);
    }

    void storedRectangleComesBackOnScreen_data()
    {
        QTest::addColumn<QString>("normPos");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("reduced");
        const QRect primary = kWorkAreas[0];
        const QRect second = kWorkAreas[1];
        QTest::newRow("far up and left") << "-5000,-5000,-4600,-4700" << primary << false;
        QTest::newRow("far right") << "9000,300,9400,600" << second << false;
        QTest::newRow("ten thousand square, mostly on the second") << "0,0,10000,10000" << second << true;
    }
    void storedRectangleComesBackOnScreen()
    {
        QFETCH(QString, normPos);
        QFETCH(QRect, area);
        Store({{"ShowCmd", "1"}, {"PixelsPerInch", "96"}, {"NormPos", normPos}});
        TStateFixture fixture;
        fixture.Screen.WorkAreas = kWorkAreas;
        fixture.Window.show();
        const QRect framed = fixture.Window.frameGeometry();
        QVERIFY(area.contains(framed));
        QFETCH(bool, reduced);
        if (reduced)
            QCOMPARE(framed, area);
        else
            QCOMPARE(fixture.Window.geometry().size(), StoredRect(normPos).size());
        fixture.Window.close();
        const QRect normal = fixture.Window.normalGeometry();
        QCOMPARE(Stored("NormPos"), QStringLiteral("%1,%2,%3,%4").arg(normal.left()).arg(normal.top())
                                        .arg(normal.right() + 1).arg(normal.bottom() + 1));
    }

    void otherScreenSizeReadsThePlainNamesAndAddsItsOwn()
    {
        Store({{"ShowCmd", "1"}, {"PixelsPerInch", "96"}, {"NormPos(1024x768)", "1,2,301,202"},
               {"NormPos", "30,40,330,240"}});
        TStateFixture fixture(TUserStore(), QSize(1920, 1080));
        fixture.Window.show();
        QCOMPARE(fixture.Window.normalGeometry(), Rect(30, 40, 330, 240));
        fixture.Window.close();
        QCOMPARE(Stored("NormPos(1920x1080)"), QString("30,40,330,240"));
        QCOMPARE(Stored("NormPos(1024x768)"), QString("1,2,301,202"));
    }

    void negativeFormVersionSkipsTheRestoreButNotTheSave()
    {
        Store({{"FormVersion", "-1"}, {"ShowCmd", "3"}, {"cbAuto_Checked", "True"}});
        TStateFixture fixture;
        fixture.Window.show();
        QVERIFY(!fixture.Window.isMaximized());
        QVERIFY(!fixture.Window.Check->isChecked());
        fixture.Window.close();
        QCOMPARE(Stored("FormVersion"), QString("0"));
        QCOMPARE(Stored("ShowCmd"), QString("1"));
        QCOMPARE(Stored("cbAuto_Checked"), QString("False"));
    }

    void anotherProgramKeyStartsEmpty()
    {
        Store({{"ShowCmd", "1"}, {"cbAuto_Checked", "True"}});
        TStateFixture fixture;
        for (TFormPlacement *component : fixture.Components())
            component->SetProgramKey("Software\\Renamed");
        fixture.Window.show();
        QVERIFY(fixture.Window.isMaximized());
        QVERIFY(!fixture.Window.Check->isChecked());
        fixture.Window.close();
        QCOMPARE(TUserStore().ReadText("Software\\Renamed\\WindowState", "ShowCmd"), QString("3"));
        QCOMPARE(Stored("ShowCmd"), QString("1"));
    }

    void badPlacementValueIsReportedOnceAndOverwritten()
    {
        QVERIFY(WriteStoreFile("[Software]\nTest\\WindowState\\Flags=@Rect(0 0 1 1)\n"
                               "Test\\WindowState\\ShowCmd=1\nTest\\WindowState\\cbAuto_Checked=True\n"));
        TStateFixture fixture;
        fixture.Window.show();
        QCOMPARE(fixture.Errors, QStringList{"Invalid data type for 'Flags'"});
        QVERIFY(!fixture.Window.isMaximized());
        QVERIFY(fixture.Window.Check->isChecked());
        fixture.Window.close();
        QCOMPARE(Stored("Flags"), QString("0"));
        QCOMPARE(fixture.Errors.size(), 1);
    }

    void destructionWithoutCloseSavesWithVisibleSet()
    {
        TStateFixture fixture;
        fixture.Window.show();
        fixture.Window.Check->setChecked(true);
        fixture.DestroyComponents();
        QCOMPARE(Stored("Visible"), QString("1"));
        QCOMPARE(Stored("cbAuto_Checked"), QString("True"));
    }

    void failedSaveIsReportedAndRetriedAtDestruction()
    {
        // The store's folder is reached through a link; pointing it at a file makes every
        // write fail, also for root.
        const QString real = Home() + "/real";
        const QString blocker = Home() + "/blocker";
        const QString link = Home() + "/link";
        QVERIFY(QDir().mkpath(real));
        QFile(blocker).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(real, link));
        const TUserStore store(link + "/registry.ini");
        TStateFixture fixture(store);
        fixture.Window.show();

        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(blocker, link));
        fixture.Window.Check->setChecked(true);
        fixture.Window.close();
        QCOMPARE(fixture.Errors, QStringList{"Failed to create key " + kSection + "\n" + store.FilePath()
                                             + ": Not a directory"});
        QVERIFY(!fixture.Window.isVisible());
        QVERIFY(!fixture.Storage->Saved() && !fixture.Placement->Saved());

        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(real, link));
        fixture.DestroyComponents();
        QCOMPARE(fixture.Errors.size(), 1);
        QCOMPARE(store.ReadText(kSection, "Visible"), QString("1"));
        QCOMPARE(store.ReadText(kSection, "cbAuto_Checked"), QString("True"));
    }

    void unwritableStoreIsReportedOnceWithItsReason()
    {
        const QString path = UnwritableStoreFile("[Software]\nTest\\WindowState\\ShowCmd=1\n");
        const TUserStore store(path);
        TStateFixture fixture(store);
        fixture.Window.show();
        QVERIFY(!fixture.Window.isMaximized());
        fixture.Window.close();
        fixture.DestroyComponents();
        QCOMPARE(fixture.Errors, QStringList{"Failed to set data for 'FormVersion'\n" + path
                                             + ": File name too long"});
        QCOMPARE(store.ValueNames(kSection), QStringList{"ShowCmd"});
    }

    void storeThatIsNoFileIsReportedOnceAndNeverWritten()
    {
        const QString path = TUserStore::DefaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::link("/dev/null", path));
        TStateFixture fixture;
        fixture.Window.show();
        fixture.Window.close();
        fixture.DestroyComponents();
        QCOMPARE(fixture.Errors, QStringList{"Settings are not read or saved\n" + path
                                             + ": not a regular file but a character device"});
        QVERIFY(QFileInfo(path).isSymLink());
    }

    void onlyTheFirstShowRestores()
    {
        Store({{"ShowCmd", "1"}, {"cbAuto_Checked", "True"}});
        TStateFixture fixture;
        fixture.Window.show();
        QVERIFY(fixture.Window.Check->isChecked());
        fixture.Window.Check->setChecked(false);
        fixture.Window.hide();
        fixture.Window.show();
        QVERIFY(!fixture.Window.Check->isChecked());
    }

    void componentDestroyedFirstHandsTheWindowBack()
    {
        TStateFixture fixture;
        fixture.Storage.reset();
        QVERIFY(TUserStore().DeleteKey(kProgramKey));
        fixture.Window.show();
        QVERIFY(fixture.Placement->Restored());
        fixture.Window.close();
        QCOMPARE(Stored("ShowCmd"), QString("3"));
        QCOMPARE(Stored("cbAuto_Checked"), QString("<missing>"));
    }
};

QTEST_MAIN(TstFormPlacement)
#include "tst_formplacement.moc"
