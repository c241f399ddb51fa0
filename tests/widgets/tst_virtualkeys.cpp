#include "virtualkeys.h"

#include <QTest>

class TstVirtualKeys : public QObject
{
    Q_OBJECT
private slots:
    void qtKeyMapsToVirtualKey_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("vk");

        const Qt::KeyboardModifiers none;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 0x70;
        QTest::newRow("F24") << int(Qt::Key_F24) << none << 0x87;
        QTest::newRow("F25 has no code") << int(Qt::Key_F25) << none << 0;
        QTest::newRow("A") << int(Qt::Key_A) << none << 0x41;
        QTest::newRow("0") << int(Qt::Key_0) << none << 0x30;
        QTest::newRow("shifted 1") << int(Qt::Key_Exclam) << QFlags(Qt::ShiftModifier) << 0x31;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << QFlags(Qt::KeypadModifier) << 0x60;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << QFlags(Qt::KeypadModifier) << 0x6B;
        QTest::newRow("main +") << int(Qt::Key_Plus) << QFlags(Qt::ShiftModifier) << 0xBB;
        QTest::newRow("keypad Home") << int(Qt::Key_Home) << QFlags(Qt::KeypadModifier) << 0x24;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << QFlags(Qt::KeypadModifier) << 0x0D;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << QFlags(Qt::ShiftModifier) << 0x09;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << none << 0x2E;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << QFlags(Qt::ShiftModifier) << 0x10;
        QTest::newRow("apostrophe") << int(Qt::Key_Apostrophe) << none << 0xDE;
        QTest::newRow("national letter has no code") << int(Qt::Key_Adiaeresis) << none << 0;
    }

    void qtKeyMapsToVirtualKey()
    {
        QFETCH(int, qtKey);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, vk);
        QCOMPARE(int(VirtualKeyFromQt(qtKey, modifiers)), vk);
    }

    void onlyShiftCtrlAltAreReported_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<TShiftState>("shift");

        QTest::newRow("none") << Qt::KeyboardModifiers() << TShiftState();
        QTest::newRow("shift") << QFlags(Qt::ShiftModifier) << TShiftState(ssShift);
        QTest::newRow("ctrl") << QFlags(Qt::ControlModifier) << TShiftState(ssCtrl);
        QTest::newRow("alt") << QFlags(Qt::AltModifier) << TShiftState(ssAlt);
        QTest::newRow("all three") << (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
                                   << (ssShift | ssCtrl | ssAlt);
        QTest::newRow("meta, keypad and group switch are not")
            << (Qt::MetaModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier) << TShiftState();
    }

    void onlyShiftCtrlAltAreReported()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(TShiftState, shift);
        QCOMPARE(ShiftStateFromQt(modifiers), shift);
    }

    void shortcutTextReadsAsAMenuShowsIt_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<TShiftState>("shift");
        QTest::addColumn<QString>("text");

        QTest::newRow("F1") << 0x70 << TShiftState() << "F1";
        QTest::newRow("F24") << 0x87 << TShiftState() << "F24";
        QTest::newRow("Shift+F1") << 0x70 << TShiftState(ssShift) << "Shift+F1";
        QTest::newRow("Ctrl+F1") << 0x70 << TShiftState(ssCtrl) << "Ctrl+F1";
        QTest::newRow("Alt+F1") << 0x70 << TShiftState(ssAlt) << "Alt+F1";
        QTest::newRow("modifier order") << 0x73 << (ssAlt | ssCtrl | ssShift) << "Shift+Ctrl+Alt+F4";
        QTest::newRow("letter") << 0x41 << TShiftState(ssCtrl) << "Ctrl+A";
        QTest::newRow("digit") << 0x35 << TShiftState() << "5";
        QTest::newRow("Del") << 0x2E << TShiftState() << "Del";
        QTest::newRow("Ins") << 0x2D << TShiftState(ssShift) << "Shift+Ins";
        QTest::newRow("keypad digit") << 0x63 << TShiftState() << "Num 3";
        QTest::newRow("code without a name") << 0xFF << TShiftState(ssShift) << "";
        QTest::newRow("high byte set") << 0x0170 << TShiftState() << "";
        QTest::newRow("zero") << 0 << TShiftState() << "";
    }

    void shortcutTextReadsAsAMenuShowsIt()
    {
        QFETCH(int, vk);
        QFETCH(TShiftState, shift);
        QFETCH(QString, text);
        QCOMPARE(ShortCutToText(std::uint16_t(vk), shift), text);
    }

};

QTEST_GUILESS_MAIN(TstVirtualKeys)
#include "tst_virtualkeys.moc"
