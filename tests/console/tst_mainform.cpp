#include "mainformfixture.h"

#include "aboutfrm.h"
#include "commportdriver.h"
#include "memoview.h"
#include "radiogroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

// The main window as it comes up, and the handlers that belong to the window itself.
class TstMainForm : public QObject
{
    Q_OBJECT
private slots:
    void captionAndTitleAtStart()
    {
        TMainFormFixture f;
        QCOMPARE(f.Form().windowTitle(), QStringLiteral("Velorand v1.9b - 20030122 - by Quen++"));
        QCOMPARE(f.App.Title(), QStringLiteral("Velorand v1.9b"));
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
        QVERIFY(!f.Form().windowIcon().isNull());
    }

    void firstRunButtonStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("connect") << "ConnectBtn" << "&Connect" << true;
        QTest::newRow("disconnect") << "DisconnectBtn" << "&Disconnect" << false;
        QTest::newRow("about") << "Button1" << "&About.." << true;
        QTest::newRow("quit") << "QuitBtn" << "&Quit" << true;
        QTest::newRow("start log") << "StartLog" << "StartLog" << true;
        QTest::newRow("stop log") << "StopLog" << "StopLog" << false;
        QTest::newRow("set dtr") << "SetDTRBtn" << "SET" << true;
        QTest::newRow("clr dtr") << "ClrDTRBtn" << "CLR" << false;
        QTest::newRow("set rts") << "SetRTSBtn" << "SET" << true;
        QTest::newRow("clr rts") << "ClrRTSBtn" << "CLR" << false;
        QTest::newRow("macro 3") << "bMacro3" << "M3" << true;
        QTest::newRow("send file") << "SendFileBtn" << "Send File" << true;
    }
    void firstRunButtonStates()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        TMainFormFixture f;
        auto *button = f.Control<QPushButton>(name.toLatin1());
        QVERIFY(button);
        QCOMPARE(button->text(), text);
        QCOMPARE(button->isEnabled(), enabled);
    }

    void firstRunSettingsBar_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("selected");
        QTest::newRow("port") << "ComPortRG" << " COM Port " << 0 << "COM1";
        QTest::newRow("baud") << "BaudRateRG" << " Baud rate " << 3 << "4800";
        QTest::newRow("data bits") << "DataBitsRG" << " Data bits" << 3 << "8";
        QTest::newRow("parity") << "ParityRG" << " Parity " << 0 << "none";
        QTest::newRow("stop bits") << "StopBitsRG" << "Stop Bits" << 0 << "1";
        QTest::newRow("handshaking") << "HandshakingRG" << " Handshaking " << 0 << "none";
    }
    void firstRunSettingsBar()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(int, index);
        QFETCH(QString, selected);
        TMainFormFixture f;
        auto *group = f.Control<TRadioGroup>(name.toLatin1());
        QVERIFY(group);
        QCOMPARE(group->title(), title);
        QCOMPARE(group->ItemIndex(), index);
        QCOMPARE(group->Items().at(index), selected);
        QVERIFY(group->Button(index)->isChecked());
    }

    void firstRunReceiveAndTransmitControls()
    {
        TMainFormFixture f;
        QVERIFY(f.Control<QRadioButton>("RxMemoStr")->isChecked());
        QVERIFY(!f.Control<QRadioButton>("RxMemoHex")->isChecked());
        QCOMPARE(f.Control<QSpinBox>("ChCount0")->value(), 13);
        QCOMPARE(f.Control<QSpinBox>("ChCount0")->minimum(), 0);
        QCOMPARE(f.Control<QSpinBox>("ChCount0")->maximum(), 255);
        QCOMPARE(f.Control<QLabel>("LabCount0")->text(), QStringLiteral("0"));
        for (const char *name : {"cbAuto", "TCBox", "CRLFCBox", "CBoxDec", "CBoxHex", "CBoxBin", "CRpLFCB"})
            QVERIFY2(!f.Control<QCheckBox>(name)->isChecked(), name);
        for (const char *name : {"Memo1", "Memo2", "Memo3"})
            QVERIFY2(f.Control<TMemoView>(name)->Source().RowCount() == 0, name);
        QVERIFY(f.Control<QPlainTextEdit>("TxMemo")->toPlainText().isEmpty());
    }

    void everyControlOfTheWindowExists()
    {
        TMainFormFixture f;
        const char *names[] = {"Panel1", "Panel3", "Panel4", "RxSplitter1", "StatusBar", "GroupBox1",
                               "GroupBox2", "GroupBox3", "gbMacros", "RxMemo", "Label1", "Label2", "Label3",
                               "Label4", "Label5", "Label6", "DTRLed", "RTSLed", "lbMacro1", "lbMacro2",
                               "lbMacro3", "FontSetBtn", "ClrRxMemo", "Button2", "ClrTxMemo", "PopupMenu1",
                               "SaveMacro11", "SaveMacro21", "SaveMAcro31", "CommPortDriver"};
        for (const char *name : names)
            QVERIFY2(f.Form().findChild<QObject *>(QString::fromLatin1(name)), name);
    }

    void driverHasTheWindowsSettings()
    {
        TMainFormFixture f;
        const TCommPortDriver &driver = f.Form().CommPortDriver();
        QCOMPARE(driver.ComPort(), pnCOM1);
        QCOMPARE(driver.ComPortParity(), ptEVEN);
        QCOMPARE(driver.ComPortPollingDelay(), 0);
        QCOMPARE(driver.EnableDTROnOpen(), false);
        QCOMPARE(driver.CustomBR(), 4800);
        QVERIFY(!driver.IsOpen());
    }

    void settingsBarTabOrder()
    {
        TMainFormFixture f;
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.Form()));
        const QStringList expected{"ConnectBtn", "QuitBtn", "ComPortRG", "BaudRateRG", "DataBitsRG",
                                   "ParityRG", "HandshakingRG", "Button1", "StopBitsRG"};
        // DisconnectBtn is disabled at start and so takes no focus.
        f.Control<QWidget>("ConnectBtn")->setFocus();
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QWidget *focus = QApplication::focusWidget();
            QWidget *owner = qobject_cast<TRadioGroup *>(focus->parentWidget()) ? focus->parentWidget() : focus;
            visited << owner->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(visited, expected);
    }

    void resizeKeepsValueCheckBoxesNearTheRightEdge()
    {
        TMainFormFixture f;
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        for (int widen : {0, 100}) {
            f.Form().resize(703 + widen, 477);
            QTRY_COMPARE(f.Form().width(), 703 + widen);
            const int w = f.Form().frameGeometry().width();
            QCOMPARE(f.Control<QCheckBox>("CBoxDec")->x(), w - 200);
            QCOMPARE(f.Control<QCheckBox>("CBoxHex")->x(), w - 140);
            QCOMPARE(f.Control<QCheckBox>("CBoxBin")->x(), w - 80);
            // The value columns follow the right edge.
            auto *memo3 = f.Control<QWidget>("Memo3");
            QCOMPARE(memo3->mapTo(&f.Form(), QPoint(memo3->width(), 0)).x(), f.Form().width());
        }
    }

    void paneHeightsAtTheDesignSize()
    {
        TMainFormFixture f;
        f.Form().resize(703, 477);
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        const std::pair<const char *, int> heights[] = {{"Panel1", 101}, {"Panel3", 218}, {"RxSplitter1", 3},
                                                        {"Panel4", 136}, {"StatusBar", 19}};
        for (const auto &[name, height] : heights)
            QCOMPARE(f.Control<QWidget>(name)->height(), height);
        QCOMPARE(f.Control<QWidget>("Memo1")->width(), 56);
        QCOMPARE(f.Control<QWidget>("Memo2")->width(), 57);
        QCOMPARE(f.Control<QWidget>("Memo3")->width(), 87);
        QCOMPARE(f.Control<QWidget>("gbMacros")->width(), 194);
    }

    void fontDialog_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void fontDialog()
    {
        QFETCH(bool, confirm);
        TMainFormFixture f;
        auto *rx = f.Control<QWidget>("RxMemo");
        auto *tx = f.Control<QWidget>("TxMemo");
        auto *memo1 = f.Control<QWidget>("Memo1");
        const QFont before = rx->font();
        const QFont columnFont = memo1->font();
        QFont chosen(QStringLiteral("Serif"));
        chosen.setPointSize(15);
        f.Dialogs.FontAnswers.push_back(confirm ? std::optional<QFont>(chosen) : std::nullopt);
        f.Click("FontSetBtn");
        QCOMPARE(f.Dialogs.FontRequests, QList<QFont>{before});
        const QFont expected = confirm ? chosen : before;
        for (const QWidget *box : {rx, tx}) {
            QCOMPARE(box->font().family(), expected.family());
            QCOMPARE(box->font().pointSize(), expected.pointSize());
        }
        QCOMPARE(memo1->font(), columnFont);
    }

    void aboutButtonShowsTheAboutBoxModally()
    {
        TMainFormFixture f;
        TAboutFrm about(&f.Form());
        f.Form().SetAboutBox(&about);
        f.Click("Button1");
        QCOMPARE(f.Dialogs.ModalDialogs, QList<QDialog *>{&about});
    }

    void altQQuitsThroughTheAccelerator()
    {
        TMainFormFixture f;
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowActive(&f.Form()));
        QTest::keyClick(&f.Form(), Qt::Key_Q, Qt::AltModifier);
        QTRY_VERIFY(!f.Form().isVisible());
    }

    void macroBoxOffersThePopupMenu()
    {
        TMainFormFixture f;
        auto *menu = f.Form().findChild<QMenu *>(QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << action->text();
        QCOMPARE(texts, QStringList({"Save Macro 1", "Save Macro 2", "Save Macro 3"}));
        QCOMPARE(f.Control<QGroupBox>("gbMacros")->contextMenuPolicy(), Qt::CustomContextMenu);
    }
};

QTEST_MAIN(TstMainForm)
#include "tst_mainform.moc"
