#include "virtualkeys.h"

#include <QTest>

class TstVirtualKeys : public QObject
{
    Q_OBJECT
private slots:
    void qtKeyMapsToVirtualKey_data();
    void qtKeyMapsToVirtualKey();
    void onlyShiftCtrlAltAreReported_data();
    void onlyShiftCtrlAltAreReported();
    void shortcutTextReadsAsAMenuShowsIt_data();
    void shortcutTextReadsAsAMenuShowsIt();
};

void TstVirtualKeys::qtKeyMapsToVirtualKey_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("vk");

    const Qt::KeyboardModifiers none;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << 0x70;
    QTest::newRow("F4") << int(Qt::Key_F4) << none << 0x73;
    QTest::newRow("F12") << int(Qt::Key_F12) << none << 0x7B;
    QTest::newRow("F24") << int(Qt::Key_F24) << none << 0x87;
    QTest::newRow("F25 has no code") << int(Qt::Key_F25) << none << 0;
    QTest::newRow("A") << int(Qt::Key_A) << none << 0x41;
    QTest::newRow("Z") << int(Qt::Key_Z) << none << 0x5A;
    QTest::newRow("0") << int(Qt::Key_0) << none << 0x30;
    QTest::newRow("9") << int(Qt::Key_9) << none << 0x39;
    QTest::newRow("shifted 1") << int(Qt::Key_Exclam) << QFlags(Qt::ShiftModifier) << 0x31;
    QTest::newRow("shifted 0") << int(Qt::Key_ParenRight) << QFlags(Qt::ShiftModifier) << 0x30;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << QFlags(Qt::KeypadModifier) << 0x60;
    QTest::newRow("keypad 9") << int(Qt::Key_9) << QFlags(Qt::KeypadModifier) << 0x69;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << QFlags(Qt::KeypadModifier) << 0x6B;
    QTest::newRow("main +") << int(Qt::Key_Plus) << QFlags(Qt::ShiftModifier) << 0xBB;
    QTest::newRow("keypad Home") << int(Qt::Key_Home) << QFlags(Qt::KeypadModifier) << 0x24;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << QFlags(Qt::KeypadModifier) << 0x0D;
    QTest::newRow("Return") << int(Qt::Key_Return) << none << 0x0D;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << 0x08;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << 0x09;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << QFlags(Qt::ShiftModifier) << 0x09;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << 0x1B;
    QTest::newRow("Space") << int(Qt::Key_Space) << none << 0x20;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << none << 0x21;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << none << 0x22;
    QTest::newRow("End") << int(Qt::Key_End) << none << 0x23;
    QTest::newRow("Home") << int(Qt::Key_Home) << none << 0x24;
    QTest::newRow("Left") << int(Qt::Key_Left) << none << 0x25;
    QTest::newRow("Up") << int(Qt::Key_Up) << none << 0x26;
    QTest::newRow("Right") << int(Qt::Key_Right) << none << 0x27;
    QTest::newRow("Down") << int(Qt::Key_Down) << none << 0x28;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << none << 0x2D;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << 0x2E;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << QFlags(Qt::ShiftModifier) << 0x10;
    QTest::newRow("Control") << int(Qt::Key_Control) << QFlags(Qt::ControlModifier) << 0x11;
    QTest::newRow("Alt") << int(Qt::Key_Alt) << QFlags(Qt::AltModifier) << 0x12;
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << none << 0xBA;
    QTest::newRow("apostrophe") << int(Qt::Key_Apostrophe) << none << 0xDE;
    QTest::newRow("national letter has no code") << int(Qt::Key_Adiaeresis) << none << 0;
    QTest::newRow("unknown") << int(Qt::Key_unknown) << none << 0;
}

void TstVirtualKeys::qtKeyMapsToVirtualKey()
{
    QFETCH(int, qtKey);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, vk);
    QCOMPARE(int(VirtualKeyFromQt(qtKey, modifiers)), vk);
}

void TstVirtualKeys::onlyShiftCtrlAltAreReported_data()
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

void TstVirtualKeys::onlyShiftCtrlAltAreReported()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(TShiftState, shift);
    QCOMPARE(ShiftStateFromQt(modifiers), shift);
}

void TstVirtualKeys::shortcutTextReadsAsAMenuShowsIt_data()
{
    QTest::addColumn<int>("vk");
    QTest::addColumn<TShiftState>("shift");
    QTest::addColumn<QString>("text");

    QTest::newRow("F1") << 0x70 << TShiftState() << "F1";
    QTest::newRow("F2") << 0x71 << TShiftState() << "F2";
    QTest::newRow("F24") << 0x87 << TShiftState() << "F24";
    QTest::newRow("Shift+F1") << 0x70 << TShiftState(ssShift) << "Shift+F1";
    QTest::newRow("Ctrl+F1") << 0x70 << TShiftState(ssCtrl) << "Ctrl+F1";
    QTest::newRow("Alt+F1") << 0x70 << TShiftState(ssAlt) << "Alt+F1";
    QTest::newRow("modifier order") << 0x73 << (ssAlt | ssCtrl | ssShift) << "Shift+Ctrl+Alt+F4";
    QTest::newRow("letter") << 0x41 << TShiftState(ssCtrl) << "Ctrl+A";
    QTest::newRow("digit") << 0x35 << TShiftState() << "5";
    QTest::newRow("Del") << 0x2E << TShiftState() << "Del";
    QTest::newRow("Ins") << 0x2D << TShiftState(ssShift) << "Shift+Ins";
    QTest::newRow("Enter") << 0x0D << TShiftState() << "Enter";
    QTest::newRow("PgDn") << 0x22 << TShiftState() << "PgDn";
    QTest::newRow("keypad digit") << 0x63 << TShiftState() << "Num 3";
    QTest::newRow("code without a name") << 0xFF << TShiftState(ssShift) << "";
    QTest::newRow("high byte set") << 0x0170 << TShiftState() << "";
    QTest::newRow("zero") << 0 << TShiftState() << "";
}

void TstVirtualKeys::shortcutTextReadsAsAMenuShowsIt()
{
    QFETCH(int, vk);
    QFETCH(TShiftState, shift);
    QFETCH(QString, text);
    QCOMPARE(ShortCutToText(std::uint16_t(vk), shift), text);
}

QTEST_GUILESS_MAIN(TstVirtualKeys)
#include "tst_virtualkeys.moc"
