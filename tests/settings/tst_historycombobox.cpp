#include "errorof.h"
#include "historycombobox.h"
#include "storetestcase.h"

#include <QtTest>

namespace {

const QString kKey = QStringLiteral("VELORAND\\Macro1");
const QString kPath = QStringLiteral("Software\\VELORAND\\Macro1");

QStringList Items(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    return items;
}

// The stored history as a list, checking that the key holds nothing but H0..Hn.
QStringList Stored(const TUserStore &store)
{
    QStringList texts;
    for (int i = 0; store.ValueType(kPath, "H" + QString::number(i)) != TUserStore::TValueType::Missing; ++i)
        texts.append(store.ReadText(kPath, "H" + QString::number(i)).value_or("<not text>"));
    if (store.ValueNames(kPath).size() != texts.size())
        texts.append("<extra values>");
    return texts;
}

void Store(TUserStore &store, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i)
        QVERIFY(store.WriteText(kPath, "H" + QString::number(i), texts[i]));
}

QString Long(int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar('a' + i % 26);
    return text;
}

} // namespace

class TstHistoryComboBox : public TStoreTestCase
{
    Q_OBJECT

private slots:

    void saveWritesTheNewestFirstWithoutDuplicates_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QStringList>("after");
        const QStringList ten{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::newRow("moves to top") << QStringList{"x", "abc", "y"} << "abc" << 10
                                      << QStringList{"abc", "x", "y"};
        QTest::newRow("oldest dropped") << ten << "new" << 10 << QStringList{"new"} + ten.mid(0, 9);
        QTest::newRow("case differs") << QStringList{"x", "abc"} << "ABC" << 10
                                      << QStringList{"ABC", "x", "abc"};
        QTest::newRow("empty edit") << QStringList{"x", "y"} << "" << 10 << QStringList{"x", "y"};
        QTest::newRow("every duplicate") << QStringList{"a", "b", "a", "c", "a"} << "a" << 10
                                         << QStringList{"a", "b", "c"};
        QTest::newRow("blanks kept") << QStringList{"x"} << "  padded  " << 10
                                     << QStringList{"  padded  ", "x"};
        QTest::newRow("long text whole") << QStringList{} << Long(300) << 10 << QStringList{Long(300)};
        QTest::newRow("length zero") << QStringList{"x", "y"} << "new" << 0 << QStringList{"new"};
        QTest::newRow("length negative") << QStringList{"x"} << "new" << -3 << QStringList{"new"};
    }
    void saveWritesTheNewestFirstWithoutDuplicates()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, edit);
        QFETCH(int, maxLength);
        QFETCH(QStringList, after);
        TUserStore store;
        Store(store, QStringList(12, "stale"));
        THistoryComboBox box;
        box.SetKey(kKey);
        box.SetMaxHistoryLength(maxLength);
        box.addItems(before);
        box.setEditText(edit);

        box.SaveHistory();

        QCOMPARE(Items(box), after);
        QCOMPARE(box.currentText(), edit);
        QCOMPARE(Stored(store), after);
    }

    void loadReadsUpToTheFirstGap_data()
    {
        QTest::addColumn<QStringList>("stored");   // "-" leaves the value out
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QStringList>("loaded");
        QStringList twelve;
        for (int i = 0; i < 12; ++i)
            twelve.append("e" + QString::number(i));
        QTest::newRow("gap") << QStringList{"a", "b", "-", "d"} << 10 << QStringList{"a", "b"};
        QTest::newRow("more than ten") << twelve << 10 << twelve.mid(0, 10);
        QTest::newRow("empty value stops") << QStringList{"a", "", "c"} << 10 << QStringList{"a"};
        QTest::newRow("blanks kept") << QStringList{" a ", "\tb"} << 10 << QStringList{" a ", "\tb"};
        QTest::newRow("case kept") << QStringList{"abc", "ABC"} << 10 << QStringList{"abc", "ABC"};
        QTest::newRow("long text whole") << QStringList{Long(300)} << 10 << QStringList{Long(300)};
        QTest::newRow("length zero") << QStringList{"a"} << 0 << QStringList{};
        QTest::newRow("empty key") << QStringList{} << 10 << QStringList{};
    }
    void loadReadsUpToTheFirstGap()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, maxLength);
        QFETCH(QStringList, loaded);
        TUserStore store;
        QVERIFY(store.CreateKey(kPath));
        for (int i = 0; i < stored.size(); ++i) {
            if (stored[i] != "-")
                QVERIFY(store.WriteText(kPath, "H" + QString::number(i), stored[i]));
        }
        THistoryComboBox box;
        box.SetKey(kKey);
        box.SetMaxHistoryLength(maxLength);
        box.addItems({"old1", "old2"});
        box.setEditText("typed");

        box.LoadHistory();

        QCOMPARE(Items(box), loaded);
        QCOMPARE(box.currentText(), QString());
    }

    void missingKeyLoadsAnEmptyList()
    {
        THistoryComboBox box;
        box.SetKey(kKey);
        box.addItem("old");
        box.LoadHistory();
        QCOMPARE(box.count(), 0);
        QVERIFY(!TUserStore().KeyExists(kPath));
    }

    void gapIsClosedByTheNextSave()
    {
        TUserStore store;
        Store(store, {"a", "b", "c", "d"});
        QVERIFY(store.DeleteValue(kPath, "H2"));
        QVERIFY(store.CreateKey(kPath + "\\Sub"));
        THistoryComboBox box;
        box.SetKey(kKey);
        box.LoadHistory();
        box.setEditText("new");
        box.SaveHistory();
        QCOMPARE(Stored(store), (QStringList{"new", "a", "b"}));
        QVERIFY(store.SubKeys(kPath).isEmpty());
    }

    void savedHistoryLoadsBackUnchanged()
    {
        THistoryComboBox saved;
        saved.SetKey(kKey);
        saved.SetMaxHistoryLength(10);
        for (const QString &text : QStringList{"third", " second ", "first\\0D"}) {
            saved.setEditText(text);
            saved.SaveHistory();
        }
        THistoryComboBox loaded;
        loaded.SetKey("velorand\\MACRO1");
        loaded.SetMaxHistoryLength(10);
        loaded.LoadHistory();
        QCOMPARE(Items(loaded), (QStringList{"first\\0D", " second ", "third"}));
    }

    void emptyKeyNeverTouchesTheStore()
    {
        THistoryComboBox box;
        box.addItems({"x", "y"});
        box.setEditText("z");
        box.LoadHistory();
        box.SaveHistory();
        QCOMPARE(Items(box), (QStringList{"x", "y"}));
        QCOMPARE(box.currentText(), QString("z"));
        QVERIFY(!QFile::exists(TUserStore::DefaultPath()));
    }

    void nonTextEntryStopsTheLoadAndTheSaveThatWouldEraseIt()
    {
        const QByteArray content("[Software]\nVELORAND\\Macro1\\H0=a\nVELORAND\\Macro1\\H1=@ByteArray(b)\n"
                                 "VELORAND\\Macro1\\H2=d\n");
        QVERIFY(WriteStoreFile(content));
        THistoryComboBox box;
        box.SetKey(kKey);
        box.setEditText("typed");
        QCOMPARE(ErrorOf([&] { box.LoadHistory(); }), QString("Invalid data type for 'H1'"));
        QCOMPARE(Items(box), QStringList{"a"});
        QCOMPARE(box.currentText(), QString());

        box.setEditText("new");
        QVERIFY(ErrorOf([&] { box.SaveHistory(); }).startsWith("Macro history not saved"));
        QFile file(TUserStore::DefaultPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void saveFailuresAreReported_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("storedAfter");
        QTest::newRow("key cannot be created")
            << QByteArray("[Other]\nV=1\n") << "Failed to create key Software\\VELORAND\\Macro1"
            << QStringList{};
        QTest::newRow("value cannot be written")
            << QByteArray("[Software]\nVELORAND\\Macro1\\H0=old\n") << "Failed to set data for 'H0'"
            << QStringList{"old"};
    }
    void saveFailuresAreReported()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QStringList, storedAfter);
        const QString path = UnwritableStoreFile(content);
        THistoryComboBox box;
        box.SetStore(TUserStore(path));
        box.SetKey(kKey);
        box.setEditText("new");
        QCOMPARE(ErrorOf([&] { box.SaveHistory(); }), message + "\n" + path + ": File name too long");
        QCOMPARE(Stored(TUserStore(path)), storedAfter);
    }

    void enterDoesNotChangeTheList()
    {
        THistoryComboBox box;
        box.addItem("x");
        box.setEditText("typed");
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(Items(box), QStringList{"x"});
    }
};

QTEST_MAIN(TstHistoryComboBox)
#include "tst_historycombobox.moc"
