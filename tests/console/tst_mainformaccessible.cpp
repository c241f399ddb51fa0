// What a screen reader learns of the main window: its role, every control's name and states.
#include "mainformfixture.h"

#include <QAccessible>
#include <QtTest>

namespace {

// Every accessible object below root, depth first.
QList<QAccessibleInterface *> Below(QAccessibleInterface *root)
{
    QList<QAccessibleInterface *> all;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        all << child << Below(child);
    }
    return all;
}

// The accessible object of the control of that name, found in the window's tree.
QAccessibleInterface *Find(TMainForm &form, const QString &objectName)
{
    for (QAccessibleInterface *node : Below(QAccessible::queryAccessibleInterface(&form))) {
        if (node->object() && node->object()->objectName() == objectName)
            return node;
    }
    return nullptr;
}

} // namespace

class TstMainFormAccessible : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<TMainFormFixture>();
        Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void windowIsATopLevelFrameNamedByItsCaption()
    {
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&Form());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QString::fromLatin1(TMainForm::kCaption));
        QCOMPARE(window->parent()->role(), QAccessible::Application);
    }

    void controlsSayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        const std::tuple<const char *, QAccessible::Role, const char *> rows[] = {
            {"Panel1", QAccessible::Pane, "Settings bar"},
            {"ConnectBtn", QAccessible::Button, "Connect"},
            {"ComPortRG", QAccessible::Grouping, "COM Port"},
            {"DataBitsRG", QAccessible::Grouping, "Data bits"},
            {"Panel3", QAccessible::Pane, "Receive pane"},
            {"GroupBox3", QAccessible::Grouping, "Settings"},
            {"ClrRxMemo", QAccessible::Button, "Clear receive"},
            {"ChCount0", QAccessible::SpinBox, "Counted character"},
            {"StartLog", QAccessible::Button, "Start log"},
            {"CBoxDec", QAccessible::CheckBox, "Dec column"},
            {"RxMemo", QAccessible::EditableText, "Receive"},
            {"Memo3", QAccessible::EditableText, "BIN value"},
            {"RxSplitter1", QAccessible::Separator, "Splitter"},
            {"Panel4", QAccessible::Pane, "Transmit pane"},
            {"ClrTxMemo", QAccessible::Button, "Clear transmit"},
            {"DTRLed", QAccessible::CheckBox, "DTR lamp"},
            {"SetDTRBtn", QAccessible::Button, "Set DTR"},
            {"ClrDTRBtn", QAccessible::Button, "Clear DTR"},
            {"RTSLed", QAccessible::CheckBox, "RTS lamp"},
            {"SetRTSBtn", QAccessible::Button, "Set RTS"},
            {"ClrRTSBtn", QAccessible::Button, "Clear RTS"},
            {"TxMemo", QAccessible::EditableText, "Transmit"},
            {"gbMacros", QAccessible::Grouping, "Transmit Macros"},
            {"lbMacro2", QAccessible::ComboBox, "Macro 2"},
            {"bMacro2", QAccessible::Button, "Send macro 2"},
            {"StatusBar", QAccessible::StatusBar, "Disconnected"},
            {"PortSection", QAccessible::StaticText, "Port"},
            {"CTSLed", QAccessible::CheckBox, "CTS lamp"},
            {"RILed", QAccessible::CheckBox, "RI lamp"},
        };
        for (const auto &[control, role, name] : rows)
            QTest::newRow(control) << control << role << name;
    }
    void controlsSayWhatTheyAre()
    {
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QAccessibleInterface *node = Find(Form(), control);
        QVERIFY(node);
        QCOMPARE(node->role(), role);
        QCOMPARE(node->text(QAccessible::Name), name);
        QVERIFY(!node->state().invisible);
    }

    // Radio buttons are told apart by their group, and a combo box's parts by their box.
    void everyControlThatTakesFocusHasItsOwnName()
    {
        QStringList names;
        for (QAccessibleInterface *node : Below(QAccessible::queryAccessibleInterface(&Form()))) {
            const QAccessible::Role parentRole = node->parent()->role();
            if (!node->state().focusable || parentRole == QAccessible::ComboBox
                || (node->role() == QAccessible::RadioButton && parentRole == QAccessible::Grouping))
                continue;
            const QString name = node->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(node->object()->objectName()));
            QVERIFY2(!names.contains(name), qPrintable(name));
            names << name;
        }
        QVERIFY(names.size() > 30);
    }

    void lampsAreCheckedWhileTheirLineIsSet()
    {
        QAccessibleInterface *dtr = Find(Form(), "DTRLed");
        QAccessibleInterface *rts = Find(Form(), "RTSLed");
        QVERIFY(!dtr->state().checked && !rts->state().checked);
        m_fixture->Click("SetDTRBtn");
        QVERIFY(dtr->state().checked && !rts->state().checked);
        m_fixture->Click("SetRTSBtn");
        m_fixture->Click("ClrDTRBtn");
        QVERIFY(!dtr->state().checked && rts->state().checked);
    }

    void coveredLabelsAreNotShown()
    {
        for (const char *label : {"Label1", "Label2", "Label3"})
            QVERIFY2(Find(Form(), label)->state().invisible, label);
    }

private:
    TMainForm &Form() const { return m_fixture->Form(); }

    std::unique_ptr<TMainFormFixture> m_fixture;
};

QTEST_MAIN(TstMainFormAccessible)
#include "tst_mainformaccessible.moc"
