#include "historycombobox.h"
#include "storedproperties.h"
#include "storedwindow.h"
#include "storesection.h"
#include "storetestcase.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QtTest>

namespace {

const QString kSection = QStringLiteral("Software\\Test\\WindowState");
constexpr int kPixelsPerInch = 96;

QVariant ValueAt(const TStoredWindow &window, const QString &path)
{
    const QFont font = window.Memo->font();
    if (path == "Font.bold")
        return font.bold();
    if (path == "Font.italic")
        return font.italic();
    if (path == "Font.family")
        return font.family();
    const QString component = path.section('.', 0, 0);
    const QObject *object = window.findChild<QObject *>(component);
    return object ? object->property(path.section('.', 1).toLatin1()) : QVariant();
}

} // namespace

class TstStoredProperties : public TStoreTestCase
{
    Q_OBJECT

private:
    void Load(TStoredWindow &window)
    {
        TStoredProperties(&window, TStoredWindow::Entries())
            .Load(TStoreSection(TUserStore(), kSection), kPixelsPerInch);
    }
    void Save(TStoredWindow &window)
    {
        TStoreSection section(TUserStore(), kSection);
        TStoredProperties(&window, TStoredWindow::Entries()).Save(section, kPixelsPerInch);
    }

private slots:

    void saveWritesEveryEncodingUnderItsName()
    {
        TStoredWindow window;
        window.Control->SetItemIndex(2);
        window.Control->SetMode(TTestControl::mdThird);
        window.Control->SetOptions(TTestControl::opC | TTestControl::opA);
        window.Check->setChecked(true);
        window.Macro->SetText("  \x01 padded macro \t ");
        window.Count->setValue(13);
        QFont font("Courier");
        font.setPixelSize(11);
        font.setBold(true);
        font.setItalic(true);
        window.Memo->setFont(font);
        window.Memo->setProperty("fontCharset", 238);

        Save(window);

        const QMap<QString, QString> expected{
            {"Control_ItemIndex", "2"},
            {"Control_Mode", "mdThird"},
            {"Control_Options", "[opA,opC]"},
            {"cbAuto_Checked", "True"},
            {"lbMacro1_Text", "padded macro"},
            {"ChCount0_Value", "13"},
            {"RxMemo_FontCharset", "238"},
            {"RxMemo_FontColor", "-2147483640"},
            {"RxMemo_FontHeight", "-11"},
            {"RxMemo_FontName", "Courier"},
            {"RxMemo_FontPitch", "fpDefault"},
            {"RxMemo_FontSize", "8"},
            {"RxMemo_FontStyle", "[fsBold,fsItalic]"},
        };
        TUserStore store;
        QStringList names = store.ValueNames(kSection);
        names.sort();
        QStringList expectedNames = expected.keys();
        expectedNames.sort();
        QCOMPARE(names, expectedNames);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(store.ReadText(kSection, it.key()).value_or("<missing>"), it.value());
    }

    void storedTextsAreDecoded_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("index") << "Control_ItemIndex" << " 2 " << "Control.ItemIndex" << QVariant(2);
        QTest::newRow("index letter") << "Control_ItemIndex" << "x" << "Control.ItemIndex" << QVariant(0);
        QTest::newRow("index beyond last") << "Control_ItemIndex" << "99" << "Control.ItemIndex" << QVariant(3);
        QTest::newRow("index hex") << "Control_ItemIndex" << "0x2" << "Control.ItemIndex" << QVariant(2);
        QTest::newRow("bool any case") << "cbAuto_Checked" << "tRuE" << "cbAuto.checked" << QVariant(true);
        QTest::newRow("bool unknown") << "cbAuto_Checked" << "yes" << "cbAuto.checked" << QVariant(false);
        QTest::newRow("enum any case") << "Control_Mode" << "MDSECOND" << "Control.Mode"
                                       << QVariant::fromValue(TTestControl::mdSecond);
        QTest::newRow("enum unknown") << "Control_Mode" << "mdFourth" << "Control.Mode"
                                      << QVariant::fromValue(TTestControl::mdFirst);
        QTest::newRow("set with blanks") << "Control_Options" << "[ opA, opc ]" << "Control.Options"
                                         << QVariant::fromValue(TTestControl::TOptions(TTestControl::opA | TTestControl::opC));
        QTest::newRow("set unknown member") << "Control_Options" << "[opB,opZ]" << "Control.Options"
                                            << QVariant::fromValue(TTestControl::TOptions(TTestControl::opB));
        QTest::newRow("empty set") << "Control_Options" << "[]" << "Control.Options"
                                   << QVariant::fromValue(TTestControl::TOptions());
        QTest::newRow("count above 255") << "ChCount0_Value" << "300" << "ChCount0.value" << QVariant(255);
        QTest::newRow("text trimmed") << "lbMacro1_Text" << "  hi there \t" << "lbMacro1.Text" << QVariant("hi there");
        QTest::newRow("style with blanks") << "RxMemo_FontStyle" << "[fsBold, fsItalic]" << "Font.bold" << QVariant(true);
        QTest::newRow("style plain") << "RxMemo_FontStyle" << "[]" << "Font.bold" << QVariant(false);
        QTest::newRow("style unknown") << "RxMemo_FontStyle" << "[fsItalic,fsHeavy]" << "Font.italic" << QVariant(true);
        QTest::newRow("font name") << "RxMemo_FontName" << "Courier" << "Font.family" << QVariant("Courier");
        QTest::newRow("charset clamped") << "RxMemo_FontCharset" << "300" << "RxMemo.fontCharset" << QVariant(255);
        QTest::newRow("pitch") << "RxMemo_FontPitch" << "FPFIXED" << "RxMemo.fontPitch"
                               << QVariant(int(TFontProperties::fpFixed));
    }
    void storedTextsAreDecoded()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, path);
        QFETCH(QVariant, expected);
        TStoredWindow window;
        window.Memo->setFont(QFont("Sans", 12, QFont::Bold));
        QVERIFY(TUserStore().WriteText(kSection, name, text));
        Load(window);
        QVariant actual = ValueAt(window, path);
        QVERIFY(actual.convert(expected.metaType()));
        QCOMPARE(actual, expected);
    }

    void missingValuesKeepTheCurrentValues()
    {
        TStoredWindow window;
        window.Control->SetItemIndex(3);
        window.Check->setChecked(true);
        window.Macro->SetText("  typed  ");
        window.Memo->setFont(QFont("Courier", 10));
        const QFont before = window.Memo->font();
        Load(window);
        QCOMPARE(window.Control->ItemIndex(), 3);
        QVERIFY(window.Check->isChecked());
        QCOMPARE(window.Macro->Text(), QString("typed"));
        QCOMPARE(window.Memo->font().family(), before.family());
        QCOMPARE(window.Memo->font().pixelSize(), 13);   // 10 points at 96 pixels per inch
    }

    void unreadableValueIsSkippedAndTheRestLoaded()
    {
        QVERIFY(WriteStoreFile("[Software]\nTest\\WindowState\\Control_ItemIndex=1, 2\n"
                   "Test\\WindowState\\cbAuto_Checked=True\n"
                   "Test\\WindowState\\RxMemo_FontHeight=@Rect(1 2 3 4)\n"
                   "Test\\WindowState\\RxMemo_FontName=Courier\n"));
        TStoredWindow window;
        Load(window);
        QCOMPARE(window.Control->ItemIndex(), 0);
        QVERIFY(window.Check->isChecked());
        QCOMPARE(window.Memo->font().family(), QString("Courier"));
    }

    void storedHeightAndSizeGiveAUsableHeight_data()
    {
        // A null text is a value that is not stored. The window's font starts at 13 pixels.
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("pixels");
        QTest::newRow("size after height") << "-40" << "8" << 11;
        QTest::newRow("huge height") << "-2147483648" << QString() << 1024;
        QTest::newRow("huge size") << QString() << "2147483647" << 1024;
        QTest::newRow("negative size") << QString() << "-8" << 11;
        QTest::newRow("positive height") << "11" << QString() << 11;
        QTest::newRow("size 0 undoes a damaged height") << "-2147483648" << "0" << 13;
        QTest::newRow("size not a number reads as 0") << "-3" << "eight" << 13;
        QTest::newRow("height and size 0") << "0" << "0" << 13;
    }
    void storedHeightAndSizeGiveAUsableHeight()
    {
        QFETCH(QString, height);
        QFETCH(QString, size);
        for (const auto &[name, text] : {std::pair{"RxMemo_FontHeight", height}, std::pair{"RxMemo_FontSize", size}})
            QVERIFY(text.isNull() || TUserStore().WriteText(kSection, name, text));
        TStoredWindow window;
        window.Memo->setFont(QFont("Courier", 10));
        Load(window);
        QTEST(window.Memo->font().pixelSize(), "pixels");
    }

    // Far beyond the 32,767 characters of a line edit's default limit, with what the store file
    // must quote.
    void longMacroTextComesBackWhole()
    {
        QString text;
        for (int i = 0; text.size() < 100000; ++i)
            text += QString::number(i) + QStringLiteral(" AT+X=\"1,2\";\\0D $0d #013 \xff");
        text.truncate(99999);
        text += QLatin1Char(';');
        QVERIFY(TUserStore().WriteText(kSection, "lbMacro1_Text", text));
        TStoredWindow window;
        Load(window);
        QCOMPARE(window.Macro->Text(), text);
        QVERIFY(TUserStore().DeleteKey(kSection));
        Save(window);
        QCOMPARE(TUserStore().ReadText(kSection, "lbMacro1_Text"), text);
    }

    void everyValueReadsBackAfterASave()
    {
        TStoredWindow saved;
        saved.Control->SetItemIndex(-1);
        saved.Control->SetMode(TTestControl::mdSecond);
        saved.Control->SetOptions(TTestControl::opB);
        saved.Macro->SetText("AT\\0D");
        saved.Count->setValue(255);
        QFont font("Courier");
        font.setPixelSize(16);
        font.setUnderline(true);
        font.setStrikeOut(true);
        saved.Memo->setFont(font);
        QPalette palette = saved.Memo->palette();
        palette.setColor(QPalette::Text, QColor(0x12, 0x34, 0x56));
        saved.Memo->setPalette(palette);
        Save(saved);
        QCOMPARE(TUserStore().ReadText(kSection, "RxMemo_FontColor"), QString::number(0x563412));

        TStoredWindow loaded;
        Load(loaded);
        QCOMPARE(loaded.Control->ItemIndex(), -1);
        QCOMPARE(loaded.Control->Mode(), TTestControl::mdSecond);
        QCOMPARE(loaded.Control->Options(), TTestControl::TOptions(TTestControl::opB));
        QCOMPARE(loaded.Macro->Text(), QString("AT\\0D"));
        QCOMPARE(loaded.Count->value(), 255);
        QCOMPARE(loaded.Memo->font().pixelSize(), 16);
        QVERIFY(loaded.Memo->font().underline() && loaded.Memo->font().strikeOut());
        QCOMPARE(loaded.Memo->palette().color(QPalette::Text), QColor(0x12, 0x34, 0x56));
    }

    void entriesThatNameNothingAreDropped()
    {
        TStoredWindow window;
        const QStringList entries{"NoDot", ".ItemIndex", "Control.", "Missing.ItemIndex",
                                  " CONTROL . itemindex ", "cbauto.CHECKED", "Control.NoSuchProperty"};
        TStoredProperties properties(&window, entries);
        QCOMPARE(properties.Count(), 3);
        TStoreSection section(TUserStore(), kSection);
        properties.Save(section, kPixelsPerInch);
        QStringList names = TUserStore().ValueNames(kSection);
        names.sort();
        QCOMPARE(names, (QStringList{"Control_ItemIndex", "cbAuto_Checked"}));
    }
};

QTEST_MAIN(TstStoredProperties)
#include "tst_storedproperties.moc"
