#include "fakeserialplatform.h"
#include "mainformfixture.h"
#include "pseudoterminal.h"

#include "commportdriver.h"
#include "historycombobox.h"
#include "hotkeymanager.h"
#include "radiogroup.h"
#include "userstore.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

namespace {

const char *const kMacroBoxes[] = {"lbMacro1", "lbMacro2", "lbMacro3"};
const char *const kHotKeyButtons[] = {"bMacro1", "bMacro2", "bMacro3", "ClrRxMemo"};

QString HistoryKey(int macro)
{
    return QStringLiteral("Software\\VELORAND\\Macro%1").arg(macro);
}

} // namespace

// Sending macros by button and hot key, and saving and loading their histories, on the real window.
class TstMainFormMacros : public QObject
{
    Q_OBJECT

    static void SetMacro(TMainFormFixture &f, int macro, const QByteArray &text)
    {
        f.Control<THistoryComboBox>(kMacroBoxes[macro - 1])->setEditText(QString::fromLatin1(text));
    }
    static QStringList Texts(const QList<QAction *> &actions)
    {
        QStringList texts;
        for (const QAction *action : actions)
            texts << action->text();
        return texts;
    }
    static QString TxText(TMainFormFixture &f) { return f.Control<QPlainTextEdit>("TxMemo")->toPlainText(); }
    // Shown, active and connected, with the typing focus in the transmit box.
    static bool ShowConnected(TMainFormFixture &f)
    {
        f.Form().show();
        if (!QTest::qWaitForWindowActive(&f.Form()))
            return false;
        f.Click("ConnectBtn");
        f.Control<QPlainTextEdit>("TxMemo")->setFocus();
        return f.Form().CommPortDriver().IsOpen();
    }

private slots:
    // Far beyond a line edit's default limit of 32,767 characters, with characters that the store
    // file holds in two bytes and escapes that decode to fewer.
    void longStoredMacroIsSentAndStoredBackWhole()
    {
        const QString text = QStringLiteral("ATcaf\u00e9 #013$0A##$$\u00ff;").repeated(15000);
        const QByteArray bytes = QByteArray("ATcaf\xe9 \r\n#$\xff;").repeated(15000);
        QCOMPARE(text.size(), 300000);
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        QVERIFY(TUserStore().WriteText(TMainFormFixture::StateSection(), "lbMacro1_Text", text));
        f.Restart();
        f.Form().show();
        f.Click("ConnectBtn");

        f.Click("bMacro1");
        QCOMPARE(platform.Written.size(), bytes.size());
        QCOMPARE(platform.Written, bytes);
        f.Control<QAction>("SaveMacro11")->trigger();
        f.Form().close();
        const TUserStore store;
        QCOMPARE(store.ReadText(TMainFormFixture::StateSection(), "lbMacro1_Text"), text);
        QCOMPARE(store.ReadText(HistoryKey(1), "H0"), text);
    }

    // A macro goes out whole, however long, and as the box shows it: characters beyond the 8-bit
    // set in UTF-8, as typed keys are; the 8-bit text and the escapes as single bytes.
    void macrosGoOutWholeAsTheBoxShowsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("echo");

        const QString digits("0123456789");
        for (const int length : {79, 80, 200}) {
            const QString text = digits.repeated(20).left(length);
            QTest::addRow("%d characters", length) << text << text.toLatin1() << text;
        }
        QTest::newRow("200 characters of escapes") << QString("#065$42").repeated(28).left(200)
                                                   << QByteArray("AB").repeated(28).left(57)
                                                   << QString("AB").repeated(28).left(57);
        QTest::newRow("8-bit text") << QString::fromLatin1("\xE9\xB0\xFF") << QByteArray("\xE9\xB0\xFF")
                                    << QString::fromLatin1("\xE9\xB0\xFF");
        QTest::newRow("beyond the 8-bit set") << QStringLiteral("€Ω😀") << QStringLiteral("€Ω😀").toUtf8()
                                              << QStringLiteral("€Ω😀");
        QTest::newRow("escapes") << QStringLiteral("$E2$82$AC#200") << QByteArray("\xE2\x82\xAC\xC8")
                                 << QString::fromLatin1("\xE2\x82\xAC\xC8");
        QTest::newRow("escapes beside") << QStringLiteral("Ω#013$0A€") << QByteArray("\xCE\xA9\r\n\xE2\x82\xAC")
                                        << QStringLiteral("Ω\n€");
    }

    void macrosGoOutWholeAsTheBoxShowsThem()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, echo);

        TPseudoTerminal pty;
        QVERIFY(pty.IsValid());
        TMainFormFixture f;
        f.MapPort(1, pty.SlavePath());
        f.Click("ConnectBtn");
        QVERIFY(f.Form().CommPortDriver().IsOpen());
        f.Control<THistoryComboBox>("lbMacro1")->setEditText(text);

        f.Click("bMacro1");
        QCOMPARE(pty.Read(int(bytes.size())), bytes);
        QCOMPARE(TxText(f), echo + u'\n');
    }

    void zeroByteEndsTheEchoButIsSent()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        SetMacro(f, 2, "A#000B");

        f.Click("bMacro2");
        QCOMPARE(platform.Written, QByteArray("A\0B", 3));
        QCOMPARE(TxText(f), QStringLiteral("A\n"));
    }

    void closedPortStillEchoes()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Control<TRadioGroup>("HandshakingRG")->SetItemIndex(4);
        SetMacro(f, 1, "hi#013");

        f.Click("bMacro1");
        QCOMPARE(TxText(f), QStringLiteral("hi\n"));
        QVERIFY(platform.Calls.isEmpty());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void rtsPulsesOnlyUnderRtsOnTx_data()
    {
        QTest::addColumn<int>("handshaking");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("none") << 0 << QStringList();
        QTest::newRow("RTS/CTS") << 1 << QStringList();
        QTest::newRow("XON/XOFF") << 2 << QStringList();
        QTest::newRow("RTS/CTS + XON/XOFF") << 3 << QStringList();
        QTest::newRow("RTS on TX") << 4 << QStringList{"Escape 3", "Escape 4"};
    }

    void rtsPulsesOnlyUnderRtsOnTx()
    {
        QFETCH(int, handshaking);
        QFETCH(QStringList, calls);

        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        f.Click("ConnectBtn");
        f.Control<TRadioGroup>("HandshakingRG")->SetItemIndex(handshaking);
        platform.Calls.clear();
        SetMacro(f, 3, "");

        f.Click("bMacro3");
        QCOMPARE(platform.CallsStartingWith({"Escape", "Write"}), calls);
        QCOMPARE(TxText(f), QStringLiteral("\n"));
    }

    void onlyBareHotKeysAct_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("clicked");   // index into kHotKeyButtons, -1 for none
        QTest::addColumn<QByteArray>("sent");

        const Qt::KeyboardModifiers none;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 0 << QByteArray("m1\r");
        QTest::newRow("F2") << int(Qt::Key_F2) << none << 1 << QByteArray("m2");
        QTest::newRow("F3") << int(Qt::Key_F3) << none << 2 << QByteArray("m3");
        QTest::newRow("F4") << int(Qt::Key_F4) << none << 3 << QByteArray();
        QTest::newRow("Shift+F1") << int(Qt::Key_F1) << QFlags(Qt::ShiftModifier) << -1 << QByteArray();
        QTest::newRow("Ctrl+F1") << int(Qt::Key_F1) << QFlags(Qt::ControlModifier) << -1 << QByteArray();
        QTest::newRow("Alt+F1") << int(Qt::Key_F1) << QFlags(Qt::AltModifier) << -1 << QByteArray();
        QTest::newRow("Del") << int(Qt::Key_Delete) << none << -1 << QByteArray();
        QTest::newRow("F5") << int(Qt::Key_F5) << none << -1 << QByteArray();
    }

    void onlyBareHotKeysAct()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, clicked);
        QFETCH(QByteArray, sent);

        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        SetMacro(f, 1, "m1#013");
        SetMacro(f, 2, "m2");
        SetMacro(f, 3, "m3");
        QVERIFY(ShowConnected(f));
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (const char *button : kHotKeyButtons)
            spies << std::make_shared<QSignalSpy>(f.Control<QPushButton>(button), &QPushButton::clicked);

        QTest::keyClick(f.Form().windowHandle(), Qt::Key(key), modifiers);
        for (int i = 0; i < spies.size(); ++i)
            QCOMPARE(spies[i]->count(), i == clicked ? 1 : 0);
        QCOMPARE(platform.Written, sent);
        // The key also reaches the transmit box, which types nothing for it.
        QCOMPARE(TxText(f), sent.isEmpty() ? QString() : QString::fromLatin1(sent).remove(u'\r') + u'\n');
    }

    void modalDialogBlocksHotKeys()
    {
        TFakeSerialPlatform platform;
        TMainFormFixture f(&platform);
        SetMacro(f, 1, "m1");
        QVERIFY(ShowConnected(f));

        QDialog dialog(&f.Form());
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
        QTest::keyClick(f.Form().windowHandle(), Qt::Key_F1);
        QCOMPARE(platform.Written, QByteArray());

        dialog.close();
        f.Form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.Form()));
        QTest::keyClick(f.Form().windowHandle(), Qt::Key_F1);
        QCOMPARE(platform.Written, QByteArray("m1"));
    }

    void hotKeysHookedWhileWindowLives()
    {
        {
            TMainFormFixture f;
            auto *manager = f.Control<THotKeyManager>("HotKeyManager1");
            QVERIFY(manager);
            QVERIFY(manager->Enabled());
            QVERIFY(!manager->AppGlobal());
            QVERIFY(manager->OnKeyDown);
            QVERIFY(!manager->OnKeyUp);
            QVERIFY(THotKeyManager::HookInstalled());
        }
        QVERIFY(!THotKeyManager::HookInstalled());
    }

    void saveMacroStoresOnlyItsOwnBox()
    {
        TMainFormFixture f;
        for (int macro = 1; macro <= 3; ++macro)
            SetMacro(f, macro, "text " + QByteArray::number(macro));

        f.Control<QAction>("SaveMacro21")->trigger();
        const TUserStore store;
        QCOMPARE(store.ValueNames(HistoryKey(2)), QStringList{"H0"});
        QCOMPARE(store.ReadText(HistoryKey(2), "H0"), QStringLiteral("text 2"));
        QVERIFY(!store.KeyExists(HistoryKey(1)));
        QVERIFY(!store.KeyExists(HistoryKey(3)));
        QCOMPARE(f.Control<THistoryComboBox>("lbMacro2")->itemText(0), QStringLiteral("text 2"));

        f.Control<QAction>("SaveMacro11")->trigger();
        f.Control<QAction>("SaveMAcro31")->trigger();
        QCOMPARE(store.ReadText(HistoryKey(1), "H0"), QStringLiteral("text 1"));
        QCOMPARE(store.ReadText(HistoryKey(3), "H0"), QStringLiteral("text 3"));
    }

    // "Right click to save macro.", as the boxes' hint says: on the text or on the arrow, box N
    // offers Save Macro N above the edit actions, and that item saves box N alone.
    void rightClickInABoxOffersItsSaveMacro_data()
    {
        QTest::addColumn<int>("macro");
        QTest::addColumn<bool>("onArrow");
        QTest::newRow("macro 1, on the text") << 1 << false;
        QTest::newRow("macro 2, on the arrow") << 2 << true;
        QTest::newRow("macro 3, on the text") << 3 << false;
    }

    void rightClickInABoxOffersItsSaveMacro()
    {
        QFETCH(int, macro);
        QFETCH(bool, onArrow);
        TMainFormFixture f;
        f.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.Form()));
        for (int other = 1; other <= 3; ++other)
            SetMacro(f, other, "text " + QByteArray::number(other));
        auto *box = f.Control<THistoryComboBox>(kMacroBoxes[macro - 1]);
        QWidget *target = onArrow ? static_cast<QWidget *>(box) : box->lineEdit();
        const QPoint at = onArrow ? QPoint(box->width() - 4, box->height() / 2) : target->rect().center();

        // Through the window, as the platform delivers a click, so that Qt makes the menu request.
        QTest::mouseClick(f.Form().windowHandle(), Qt::RightButton, {}, target->mapTo(&f.Form(), at));
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = static_cast<QMenu *>(QApplication::activePopupWidget());
        const QList<QAction *> items = menu->actions();
        const char *const saveNames[] = {"SaveMacro11", "SaveMacro21", "SaveMAcro31"};
        QCOMPARE(items.value(0), f.Control<QAction>(saveNames[macro - 1]));
        QCOMPARE(items[0]->text(), QStringLiteral("Save Macro %1").arg(macro));
        QVERIFY(items.value(1) && items[1]->isSeparator());
        const std::unique_ptr<QMenu> standard(box->lineEdit()->createStandardContextMenu());
        QCOMPARE(Texts(items.mid(2)), Texts(standard->actions()));

        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(items[0]).center());
        QTRY_VERIFY(!QApplication::activePopupWidget());
        const TUserStore store;
        for (int other = 1; other <= 3; ++other)
            QCOMPARE(store.KeyExists(HistoryKey(other)), other == macro);
        QCOMPARE(store.ReadText(HistoryKey(macro), "H0"), QStringLiteral("text %1").arg(macro));
    }

    void anUnreadableHistoryLeavesTheOthersLoadedAndIsNeverOverwritten()
    {
        TMainFormFixture f;
        TUserStore store;
        QVERIFY(store.WriteText(HistoryKey(1), "H0", "one"));
        QVERIFY(store.WriteText(HistoryKey(2), "H0", "two"));
        QVERIFY(store.WriteText(HistoryKey(3), "H0", "three"));
        QSettings(store.FilePath(), QSettings::IniFormat).setValue("Software/VELORAND/Macro2/H1", QByteArray("b"));
        QCOMPARE(store.ValueType(HistoryKey(2), "H1"), TUserStore::TValueType::NotText);

        f.App.Run([&] { f.Form().FormCreate(); });
        for (const char *box : {"lbMacro1", "lbMacro2", "lbMacro3"})
            QCOMPARE(f.Control<THistoryComboBox>(box)->count(), 1);
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QCOMPARE(f.Dialogs.Errors.first().Text, QStringLiteral("Invalid data type for 'H1'"));

        f.Control<QAction>("SaveMacro21")->trigger();
        QCOMPARE(f.Dialogs.Errors.size(), 2);
        QVERIFY(f.Dialogs.Errors.last().Text.startsWith("Macro history not saved"));
        QCOMPARE(store.ValueType(HistoryKey(2), "H1"), TUserStore::TValueType::NotText);
        f.Control<QAction>("SaveMacro11")->trigger();
        QCOMPARE(f.Dialogs.Errors.size(), 2);
    }

};

QTEST_MAIN(TstMainFormMacros)
#include "tst_mainformmacros.moc"
