#include "radiogroup.h"

#include <QApplication>
#include <QRadioButton>
#include <QStyle>
#include <QtTest>

// The settings bar's radio groups: selection by index and when they notify.
class TstRadioGroup : public QObject
{
    Q_OBJECT

    static QStringList Numbers(int count)
    {
        QStringList items;
        for (int i = 0; i < count; ++i)
            items << QString::number(i);
        return items;
    }

private slots:
    void setItemIndexClampsAndNotifiesOnlyOnChange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("clicks");
        QTest::newRow("change") << 0 << 2 << 2 << 1;
        QTest::newRow("same") << 2 << 2 << 2 << 0;
        QTest::newRow("beyond the last") << 0 << 99 << 4 << 1;
        QTest::newRow("beyond the last, already last") << 4 << 99 << 4 << 0;
        QTest::newRow("none") << 1 << -1 << -1 << 1;
        QTest::newRow("below none") << 1 << -7 << -1 << 1;
        QTest::newRow("none to none") << -1 << -1 << -1 << 0;
    }
    void setItemIndexClampsAndNotifiesOnlyOnChange()
    {
        QFETCH(int, start);
        QFETCH(int, requested);
        QFETCH(int, result);
        QFETCH(int, clicks);
        TRadioGroup group;
        group.SetItems(Numbers(5));
        group.SetItemIndex(start);
        QSignalSpy spy(&group, &TRadioGroup::Click);
        group.SetItemIndex(requested);
        QCOMPARE(group.ItemIndex(), result);
        QCOMPARE(spy.size(), clicks);
        for (int i = 0; i < group.Count(); ++i)
            QCOMPARE(group.Button(i)->isChecked(), i == result);
    }

    void userClickNotifiesOnlyOnChange()
    {
        TRadioGroup group;
        group.SetItems(Numbers(3));
        group.SetItemIndex(0);
        group.resize(100, 80);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        QSignalSpy spy(&group, &TRadioGroup::Click);
        // A radio button takes clicks on its indicator and text only, not on the blank right of them.
        const auto click = [&](int i) {
            QTest::mouseClick(group.Button(i), Qt::LeftButton, {}, QPoint(6, group.Button(i)->height() / 2));
        };
        click(0);
        QCOMPARE(spy.size(), 0);
        click(2);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(group.ItemIndex(), 2);
        QCOMPARE(group.ItemAt(group.Button(2)->geometry().center()), 2);
        QCOMPARE(group.ItemAt(QPoint(-5, -5)), -1);
    }

    void itemsRunDownTheColumns()
    {
        TRadioGroup group;
        group.SetItems(Numbers(12));
        group.SetColumns(3);
        group.resize(180, 100);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        for (int i = 0; i < 12; ++i) {
            const QRect r = group.Button(i)->geometry();
            QCOMPARE(r.x(), group.Button((i / 4) * 4)->x());
            QCOMPARE(r.y(), group.Button(i % 4)->y());
            QVERIFY(group.contentsRect().contains(r));
        }
        QVERIFY(group.Button(4)->x() > group.Button(3)->x());
        QVERIFY(group.Button(3)->y() > group.Button(0)->y());
    }

    void circlesStayInsideTheirRows_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("ownSize");
        QTest::newRow("six in a settings bar") << 6 << 100 << false;
        QTest::newRow("room to spare") << 3 << 200 << true;
    }
    void circlesStayInsideTheirRows()
    {
        QFETCH(int, count);
        QFETCH(int, height);
        QFETCH(bool, ownSize);
        TRadioGroup group;
        group.setTitle(QStringLiteral(" COM Port "));
        group.SetItems(Numbers(count));
        group.resize(80, height);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        const QStyle *application = QApplication::style();
        const int styleSize = application->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
        for (int i = 0; i < count; ++i) {
            const QRadioButton *button = group.Button(i);
            const int size = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, button);
            QVERIFY(size < button->height());
            QCOMPARE(size == styleSize, ownSize);
            QCOMPARE(button->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, button),
                     application->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, button));
        }
    }

    void newItemsKeepAValidSelection()
    {
        TRadioGroup group;
        group.SetItems(Numbers(5));
        group.SetItemIndex(4);
        QSignalSpy spy(&group, &TRadioGroup::Click);
        group.SetItems(Numbers(2));
        QCOMPARE(group.ItemIndex(), -1);
        group.SetColumns(0);
        QCOMPARE(group.Columns(), 1);
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_MAIN(TstRadioGroup)
#include "tst_radiogroup.moc"
