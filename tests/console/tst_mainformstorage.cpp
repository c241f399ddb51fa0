#include "fakeserialplatform.h"
#include "mainformfixture.h"

#include "appeventlist.h"
#include "commportdriver.h"
#include "designlook.h"
#include "historycombobox.h"
#include "panel.h"
#include "radiogroup.h"
#include "rxsplitter.h"
#include "userstore.h"

#include <QCheckBox>
#include <QDir>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include <map>

namespace {

using TValues = std::map<QString, QString>;

void Store(const TValues &values)
{
    for (const auto &[name, text] : values)
        QVERIFY(TUserStore().WriteText(TMainFormFixture::StateSection(), name, text));
}

QString Stored(const QString &name)
{
    return TUserStore().ReadText(TMainFormFixture::StateSection(), name).value_or("<missing>");
}

TValues StoredSection()
{
    TValues values;
    const TUserStore store;
    for (const QString &name : store.ValueNames(TMainFormFixture::StateSection()))
        values[name] = Stored(name);
    return values;
}

QString ProgramKey()
{
    return TMainFormFixture::StateSection().section(QLatin1Char('\\'), 0, 1);
}

QString ScreenSuffix()
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    return QStringLiteral("(%1x%2)").arg(size.width()).arg(size.height());
}

int PixelsPerInch()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

void Switch(Qt::ApplicationState state)
{
    TAppEventList::Instance().ApplicationStateChanged(state);
    QCoreApplication::processEvents();
}

// The window's regions from top to bottom, each where the one above ends, the status bar on the
// window's bottom edge, and both panes at least as tall as their contents need.
void VerifyPanesStacked(const TMainFormFixture &f)
{
    const QWidget *upper = f.Control<QWidget>("Panel3");
    const QWidget *lower = f.Control<QWidget>("Panel4");
    const QWidget *regions[] = {f.Control<QWidget>("Panel1"), upper, f.Control<QWidget>("RxSplitter1"), lower,
                                f.Control<QWidget>("StatusBar")};
    int top = 0;
    for (const QWidget *region : regions) {
        QCOMPARE(region->y(), top);
        top += region->height();
    }
    QCOMPARE(top, f.Form().height());
    QVERIFY(lower->height() >= lower->layout()->minimumSize().height());
    QVERIFY(upper->height() >= std::min(upper->layout()->minimumSize().height(), upper->property("Height").toInt()));
}

// Drags the bar between the panes by dy pixels.
void DragBar(const TMainFormFixture &f, int dy)
{
    auto *splitter = f.Control<TRxSplitter>("RxSplitter1");
    const QPoint press(20, 1);
    QTest::mousePress(splitter, Qt::LeftButton, {}, press);
    QMouseEvent move(QEvent::MouseMove, press + QPoint(0, dy), splitter->mapToGlobal(press + QPoint(0, dy)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(splitter, &move);
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, press + QPoint(0, dy));
}

// A window started on values stored before, as the program starts after an earlier run.
void StartWith(TMainFormFixture &f, const TValues &values)
{
    Store(values);
    f.Restart();
    f.Form().show();
}

} // namespace

// The window state and the control settings kept between runs, on the real window.
class TstMainFormStorage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Switch(Qt::ApplicationInactive);
    }

    void freshWindowSavesItsDesignedValues()
    {
        TMainFormFixture f;
        f.Form().show();
        f.Form().close();
        const QString suffix = ScreenSuffix();
        // Qt has no "Courier": the design's fixed-pitch face stands in, at the design's 11 pixels.
        const QString fixedFace = TDesignLook::CourierFont().family();
        const QString points = QString::number(qRound(11 * 72.0 / PixelsPerInch()));
        TValues expected{
            {"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"},
            {"PixelsPerInch", QString::number(PixelsPerInch())},
            {"Visible", "0"}, {"ComPortRG_ItemIndex", "0"}, {"BaudRateRG_ItemIndex", "3"},
            {"DataBitsRG_ItemIndex", "3"}, {"ParityRG_ItemIndex", "0"}, {"StopBitsRG_ItemIndex", "0"},
            {"HandshakingRG_ItemIndex", "0"}, {"RxSplitter1_Top", "319"}, {"Panel3_Height", "218"},
            {"Panel4_Height", "136"}, {"cbAuto_Checked", "False"}, {"lbMacro1_Text", ""},
            {"lbMacro2_Text", ""}, {"lbMacro3_Text", ""}, {"CBoxBin_Checked", "False"},
            {"CBoxDec_Checked", "False"}, {"CBoxHex_Checked", "False"}, {"TCBox_Checked", "False"},
            {"CRLFCBox_Checked", "False"}, {"RxMemoStr_Checked", "True"},
            {"RxMemoHex_Checked", "False"}, {"ChCount0_Value", "13"}, {"CRpLFCB_Checked", "False"}};
        for (const auto &[box, charset] : {std::pair{"RxMemo", "238"}, std::pair{"TxMemo", "1"}}) {
            const QString font = QString::fromLatin1(box) + QStringLiteral("_Font");
            expected[font + "Charset"] = charset;
            expected[font + "Color"] = "-2147483640";
            expected[font + "Height"] = "-11";
            expected[font + "Name"] = fixedFace;
            expected[font + "Pitch"] = "fpDefault";
            expected[font + "Size"] = points;
            expected[font + "Style"] = "[]";
        }
        TValues stored = StoredSection();
        for (const QString name : {"MinMaxPos", "NormPos"}) {
            QCOMPARE(stored[name + suffix], stored[name]);
            QVERIFY(stored.erase(name + suffix) && stored.erase(name));
        }
        QCOMPARE(stored, expected);
    }

    void keysTypedInAnotherCaseAreReadAndFoldedIntoOne()
    {
        TMainFormFixture f;
        // The first run wrote under the executable's name; the user added keys by hand.
        const QString program = ProgramKey().section(QLatin1Char('\\'), 1);
        QFile file(TUserStore::DefaultPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("[Software]\n" + program + "\\WindowState\\ShowCmd=1\n" + program
                    + "\\WindowState\\CRLFCBox_Checked=True\nvelorand\\Macro1\\H0=kept\n"
                    + program.toUpper() + "\\WindowState\\TCBox_Checked=True\n"
                    + "VELORAND\\Ports\\COM1=/dev/null\n").toUtf8());
        file.close();
        f.Restart();
        f.Form().show();
        QVERIFY(f.Control<QCheckBox>("CRLFCBox")->isChecked());
        QVERIFY(f.Control<QCheckBox>("TCBox")->isChecked());
        QCOMPARE(f.Control<THistoryComboBox>("lbMacro1")->itemText(0), QStringLiteral("kept"));
        f.Form().close();

        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        QCOMPARE(content.count(program, Qt::CaseInsensitive), content.count(program));
        QCOMPARE(content.count("velorand\\", Qt::CaseInsensitive), content.count("velorand\\"));
        QCOMPARE(TUserStore().ReadText("Software\\VELORAND\\Ports", "COM1"), QStringLiteral("/dev/null"));
        QCOMPARE(Stored("TCBox_Checked"), QStringLiteral("True"));
    }

    void storedSerialSettingsReachTheDriverInOrder_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("hw");
        QTest::addColumn<int>("sw");
        // The design writes even parity and no speed to the driver (its own start is 9600); only
        // the port's handler brings the groups' values.
        QTest::newRow("nothing stored") << QStringList{} << +pnCOM1 << +br9600 << +ptEVEN << +sb1BITS
                                        << +hhNONE << +shNONE;
        QTest::newRow("same port runs nothing") << QStringList{"ComPortRG_ItemIndex", "0"} << +pnCOM1
                                                << +br9600 << +ptEVEN << +sb1BITS << +hhNONE << +shNONE;
        QTest::newRow("COM2 applies the port settings")
            << QStringList{"ComPortRG_ItemIndex", "1"} << +pnCOM2 << +br4800 << +ptNONE << +sb1BITS
            << +hhNONE << +shNONE;
        QTest::newRow("COM2, then the later groups")
            << QStringList{"ComPortRG_ItemIndex", "1", "BaudRateRG_ItemIndex", "4", "ParityRG_ItemIndex", "1",
                           "HandshakingRG_ItemIndex", "3"}
            << +pnCOM2 << +br9600 << +ptODD << +sb1BITS << +hhRTSCTS << +shXONXOFF;
        QTest::newRow("two stop bits before any connect") << QStringList{"StopBitsRG_ItemIndex", "2"}
                                                          << +pnCOM1 << +br9600 << +ptEVEN << +sb2BITS
                                                          << +hhNONE << +shNONE;
        QTest::newRow("RTS on TX gives no handshaking") << QStringList{"HandshakingRG_ItemIndex", "4"}
                                                        << +pnCOM1 << +br9600 << +ptEVEN << +sb1BITS
                                                        << +hhNONE << +shNONE;
    }
    void storedSerialSettingsReachTheDriverInOrder()
    {
        QFETCH(QStringList, stored);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        TValues values;
        for (qsizetype i = 0; i + 1 < stored.size(); i += 2)
            values[stored[i]] = stored[i + 1];
        StartWith(f, values);
        const TCommPortDriver &driver = f.Form().CommPortDriver();
        QTEST(int(driver.ComPort()), "port");
        QTEST(int(driver.ComPortSpeed()), "speed");
        QTEST(int(driver.ComPortParity()), "parity");
        QTEST(int(driver.ComPortStopBits()), "stopBits");
        QTEST(int(driver.ComPortHwHandshaking()), "hw");
        QTEST(int(driver.ComPortSwHandshaking()), "sw");
        QVERIFY(platform.Calls.isEmpty());
    }

    void storedAutoDisConnectConnectsAtTheFirstActivation()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        StartWith(f, {{"cbAuto_Checked", "True"}, {"ComPortRG_ItemIndex", "2"}, {"BaudRateRG_ItemIndex", "6"}});
        QVERIFY(platform.Calls.isEmpty());
        Switch(Qt::ApplicationActive);
        QCOMPARE(platform.CallsStartingWith({"Open"}), QStringList{"Open COM3"});
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Connected"));
        QCOMPARE(platform.LineStates.last().BaudRate, 19200u);
        QCOMPARE(platform.LineStates.last().Parity, 0);
    }

    // Each stored text is loaded into its control and saved back from it.
    void storedTextsAreReadAsTheControlsTakeThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("savedName");
        QTest::addColumn<QString>("saved");
        // The decoding rules themselves are the stored-properties component's; these rows are the
        // window's own controls' ranges and siblings.
        QTest::newRow("index below none") << "ParityRG_ItemIndex" << "-7" << "ParityRG_ItemIndex" << "-1";
        QTest::newRow("unknown pitch") << "TxMemo_FontPitch" << "fpWide" << "TxMemo_FontPitch" << "fpDefault";
        QTest::newRow("count beyond any integer") << "ChCount0_Value" << "99999999999" << "ChCount0_Value"
                                                  << "0";
        QTest::newRow("radio button clears its sibling") << "RxMemoHex_Checked" << "True"
                                                         << "RxMemoStr_Checked" << "False";
        QTest::newRow("style with blanks and strangers")
            << "RxMemo_FontStyle" << " [fsBold, fsWide ,fsitalic] " << "RxMemo_FontStyle" << "[fsBold,fsItalic]";
    }
    void storedTextsAreReadAsTheControlsTakeThem()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, savedName);
        TMainFormFixture f;
        StartWith(f, {{name, text}});
        f.Form().close();
        QTEST(Stored(savedName), "saved");
    }

    void storedFontsReachTheBoxes()
    {
        TMainFormFixture f;
        StartWith(f, {{"RxMemo_FontStyle", "[fsBold, fsUnderline]"}, {"RxMemo_FontHeight", "-900"},
                      {"RxMemo_FontSize", "0"}, {"TxMemo_FontHeight", "-15"}});
        const QFont rx = f.Control<QWidget>("RxMemo")->font();
        QVERIFY(rx.bold() && rx.underline() && !rx.italic());
        // A size of 0 gives the box its designed height back.
        QCOMPARE(rx.pixelSize(), 11);
        QCOMPARE(f.Control<QWidget>("TxMemo")->font().pixelSize(), 15);
    }

    void upperPaneHeightDecidesTheSplit()
    {
        TMainFormFixture f;
        StartWith(f, {{"RxSplitter1_Top", "40"}, {"Panel3_Height", "150"}, {"Panel4_Height", "9"}});
        auto *upper = f.Control<TPanel>("Panel3");
        auto *lower = f.Control<TPanel>("Panel4");
        auto *splitter = f.Control<TRxSplitter>("RxSplitter1");
        QCOMPARE(upper->height(), 150);
        QTRY_COMPARE(splitter->y(), upper->geometry().bottom() + 1);
        QCOMPARE(lower->y(), splitter->geometry().bottom() + 1);
        QCOMPARE(lower->geometry().bottom() + 1, f.Control<QStatusBar>("StatusBar")->y());
    }

    // However tall the stored panes, the window keeps its stored size and the lower pane stays in it.
    void paneValuesNeverMakeTheWindowTaller_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("saved");
        QTest::newRow("upper pane taller than the screen") << "Panel3_Height" << "99999" << "99999";
        QTest::newRow("upper pane beyond any widget") << "Panel3_Height" << "2147483647" << "16777215";
        QTest::newRow("negative upper pane") << "Panel3_Height" << "-5" << "0";
        QTest::newRow("bar far above") << "RxSplitter1_Top" << "-99999" << "319";
        QTest::newRow("bar far below") << "RxSplitter1_Top" << "99999" << "319";
        QTest::newRow("lower pane taller than the screen") << "Panel4_Height" << "99999" << "136";
        QTest::newRow("negative lower pane") << "Panel4_Height" << "-5" << "136";
    }
    void paneValuesNeverMakeTheWindowTaller()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        TMainFormFixture f;
        StartWith(f, {{"NormPos", "50,60,753,537"}, {"PixelsPerInch", QString::number(PixelsPerInch())},
                      {name, text}});
        f.Form().layout()->activate();
        QCOMPARE(f.Form().geometry(), Rect(50, 60, 753, 537));
        VerifyPanesStacked(f);
        f.Form().close();
        QTEST(Stored(name), "saved");
    }

    void maximizingDraggingTheBarLowAndRestoringKeepsTheNormalWindow()
    {
        TMainFormFixture f;
        StartWith(f, {{"NormPos", "50,60,753,537"}, {"PixelsPerInch", QString::number(PixelsPerInch())}});
        auto *upper = f.Control<TPanel>("Panel3");
        f.Form().showMaximized();
        QTRY_VERIFY(f.Form().height() > 600);
        DragBar(f, f.Form().height());
        const int dragged = upper->height();
        QVERIFY(dragged > 400);

        f.Form().showNormal();
        QTRY_COMPARE(f.Form().geometry(), Rect(50, 60, 753, 537));
        VerifyPanesStacked(f);
        QCOMPARE(upper->Height(), dragged);
        // As small as the controls allow: both panes at what their contents need, none overlapping.
        f.Form().resize(f.Form().width(), 0);
        QCOMPARE(f.Form().height(), f.Form().minimumHeight());
        QTRY_COMPARE(f.Control<QWidget>("StatusBar")->geometry().bottom() + 1, f.Form().height());
        VerifyPanesStacked(f);
        f.Form().showMaximized();
        QTRY_COMPARE(upper->height(), dragged);
    }

    void everythingComesBackAfterARestart()
    {
        TMainFormFixture f;
        f.Form().show();
        f.Control<TRadioGroup>("ComPortRG")->SetItemIndex(3);
        f.Control<TRadioGroup>("BaudRateRG")->SetItemIndex(10);
        f.Control<TRadioGroup>("StopBitsRG")->SetItemIndex(2);
        f.Control<TRadioGroup>("HandshakingRG")->SetItemIndex(4);
        f.Control<TPanel>("Panel3")->SetHeight(120);
        for (const char *box : {"cbAuto", "CBoxBin", "TCBox", "CRpLFCB"})
            f.Control<QCheckBox>(box)->setChecked(true);
        f.Control<QRadioButton>("RxMemoHex")->setChecked(true);
        f.Control<QSpinBox>("ChCount0")->setValue(10);
        f.Control<THistoryComboBox>("lbMacro1")->SetText(QStringLiteral("  AT\\0d "));
        f.Control<THistoryComboBox>("lbMacro3")->SetText(QStringLiteral("\\1b[2J"));
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(17);
        font.setItalic(true);
        f.Dialogs.FontAnswers.push_back(font);
        f.Click("FontSetBtn");
        f.Form().close();
        const TValues first = StoredSection();
        QCOMPARE(first.at("lbMacro1_Text"), QStringLiteral("AT\\0d"));
        QCOMPARE(first.at("TxMemo_FontName"), QStringLiteral("Serif"));

        f.Restart();
        f.Form().show();
        QCOMPARE(f.Control<THistoryComboBox>("lbMacro3")->Text(), QStringLiteral("\\1b[2J"));
        QCOMPARE(f.Control<QWidget>("RxMemo")->font().pixelSize(), 17);
        QVERIFY(f.Control<QWidget>("TxMemo")->font().italic());
        QCOMPARE(f.Form().CommPortDriver().ComPort(), pnCOM4);
        QCOMPARE(f.Form().CommPortDriver().ComPortStopBits(), sb2BITS);
        f.Form().close();
        QCOMPARE(StoredSection(), first);
    }

    void firstRunOpensMaximizedAndCloseWritesTheFullSection()
    {
        TMainFormFixture f;
        QVERIFY(TUserStore().DeleteKey(ProgramKey()));
        f.Restart();
        f.Form().show();
        QVERIFY(f.Form().isMaximized());
        QVERIFY(TUserStore().KeyExists(ProgramKey()));
        QVERIFY(!TUserStore().KeyExists(TMainFormFixture::StateSection()));
        f.Form().close();
        QCOMPARE(Stored("ShowCmd"), QStringLiteral("3"));
        // Nine placement values, 22 single properties and seven per font.
        QCOMPARE(StoredSection().size(), std::size_t(9 + 22 + 14));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void storedPlacementIsApplied_data()
    {
        QTest::addColumn<QString>("showCmd");
        QTest::addColumn<int>("pixelsPerInchChange");
        QTest::addColumn<QString>("normPos");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("positioned");
        QTest::newRow("normal") << "1" << 0 << "50,60,750,600" << false << true;
        QTest::newRow("maximized keeps its normal rectangle") << "3" << 0 << "50,60,750,600" << true << true;
        QTest::newRow("other pixels per inch") << "1" << 24 << "50,60,750,600" << false << false;
    }
    void storedPlacementIsApplied()
    {
        QFETCH(QString, showCmd);
        QFETCH(int, pixelsPerInchChange);
        QFETCH(QString, normPos);
        QFETCH(bool, positioned);
        TMainFormFixture f;
        const QRect designed = f.Form().geometry();
        StartWith(f, {{"ShowCmd", showCmd}, {"PixelsPerInch", QString::number(PixelsPerInch() + pixelsPerInchChange)},
                      {"NormPos", normPos}, {"cbAuto_Checked", "True"}});
        QTEST(f.Form().isMaximized(), "maximized");
        QVERIFY(f.Control<QCheckBox>("cbAuto")->isChecked());
        const QRect normal = f.Form().normalGeometry();
        if (positioned)
            QCOMPARE(normal, Rect(50, 60, 750, 600));
        else
            QCOMPARE(normal.size(), designed.size());
    }

    void failedSaveIsReportedAndRetriedAtDestruction()
    {
        TMainFormFixture f;
        // The store's folder becomes a link; pointing it at a file makes every write fail.
        const QString folder = QFileInfo(TUserStore::DefaultPath()).absolutePath();
        const QString real = f.Home.Path() + "/real";
        const QString blocker = f.Home.Path() + "/blocker";
        QVERIFY(QDir().rename(folder, real));
        QVERIFY(QFile::link(real, folder));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        f.Form().show();

        QVERIFY(QFile::remove(folder) && QFile::link(blocker, folder));
        f.Control<QCheckBox>("cbAuto")->setChecked(true);
        f.Form().close();
        QVERIFY(!f.Form().isVisible());
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QCOMPARE(f.Dialogs.Errors.first().Text, "Failed to create key " + TMainFormFixture::StateSection()
                 + "\n" + TUserStore::DefaultPath() + ": Not a directory.");

        QVERIFY(QFile::remove(folder) && QFile::link(real, folder));
        f.Restart();
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QCOMPARE(Stored("Visible"), QStringLiteral("1"));
        QCOMPARE(Stored("cbAuto_Checked"), QStringLiteral("True"));
    }
};

QTEST_MAIN(TstMainFormStorage)
#include "tst_mainformstorage.moc"
