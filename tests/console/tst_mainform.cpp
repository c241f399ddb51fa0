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
        QCOMPARE(f.Form().windowIconText(), QStringLiteral("Velorand v1.9b"));
        QCOMPARE(f.Form().StatusText(), QStringLiteral("Disconnected"));
        QVERIFY(!f.Form().windowIcon().isNull());
    }

    void firstRunState()
    {
        TMainFormFixture f;
        for (const char *name : {"ConnectBtn", "Button1", "QuitBtn", "StartLog", "SetDTRBtn", "SetRTSBtn",
                                 "bMacro3", "SendFileBtn"})
            QVERIFY2(f.Control<QPushButton>(name)->isEnabled(), name);
        // Nothing to undo yet: no port open, no log running, no line set.
        for (const char *name : {"DisconnectBtn", "StopLog", "ClrDTRBtn", "ClrRTSBtn"})
            QVERIFY2(!f.Control<QPushButton>(name)->isEnabled(), name);
        for (const char *name : {"ComPortRG", "BaudRateRG", "DataBitsRG", "ParityRG", "StopBitsRG", "HandshakingRG"}) {
            auto *group = f.Control<TRadioGroup>(name);
            QVERIFY2(group->Button(group->ItemIndex())->isChecked(), name);
        }
        QCOMPARE(f.Control<QLabel>("LabCount0")->text(), QStringLiteral("0"));
        for (const char *name : {"Memo1", "Memo2", "Memo3"})
            QVERIFY2(f.Control<TMemoView>(name)->Source().RowCount() == 0, name);
        QVERIFY(f.Control<QPlainTextEdit>("TxMemo")->toPlainText().isEmpty());
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

    // Linux has no 1.5 stop bits beside 5 data bits; the hint over the items says so.
    void stopBitsHintTellsWhatLinuxSends()
    {
        TMainFormFixture f;
        auto *group = f.Control<TRadioGroup>("StopBitsRG");
        QVERIFY(group->toolTip().startsWith(QStringLiteral("Number of Stop bits\n")));
        QVERIFY(group->toolTip().contains(QStringLiteral("with 6, 7 or 8 data bits Linux sends 2")));
        QVERIFY(group->Button(1)->toolTip().isEmpty());
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
