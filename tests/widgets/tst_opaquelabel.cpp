#include "opaquelabel.h"
#include "paintcounter.h"

#include <QGroupBox>
#include <QPainter>
#include <QTest>

namespace {

// Two identical group boxes side by side, one holding an ordinary label, the other ours.
struct TPair
{
    TPair()
    {
        window.resize(420, 120);
        for (int i = 0; i < 2; ++i) {
            boxes[i] = new QGroupBox(QStringLiteral("Receive"), &window);
            boxes[i]->setGeometry(10 + i * 200, 10, 180, 80);
        }
        plain = new QLabel(boxes[0]);
        ours = new TOpaqueLabel(boxes[1]);
        for (QLabel *label : {plain, static_cast<QLabel *>(ours)})
            label->setGeometry(40, 30, 60, 21);
        window.show();
    }

    void SetText(const QString &text)
    {
        plain->setText(text);
        ours->setText(text);
    }

    // How many pixels of the two boxes differ.
    int DifferingPixels()
    {
        const QImage left = boxes[0]->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage right = boxes[1]->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < left.height(); ++y)
            for (int x = 0; x < left.width(); ++x)
                differing += left.pixel(x, y) != right.pixel(x, y) ? 1 : 0;
        return differing;
    }

    QWidget window;
    QGroupBox *boxes[2] = {};
    QLabel *plain = nullptr;
    TOpaqueLabel *ours = nullptr;
};

} // namespace

class TstOpaqueLabel : public QObject
{
    Q_OBJECT
private slots:
    void looksLikeALabel_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("a long count") << "2147483647" << true;
        QTest::newRow("negative") << "-12" << true;
        QTest::newRow("disabled") << "42" << false;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("mnemonic marker") << "a&b" << true;
        QTest::newRow("two lines") << "1\n2" << true;
        QTest::newRow("rich text") << "<b>7</b>" << true;
        QTest::newRow("wider than the label") << "123456789012345678901234567890" << true;
    }
    void looksLikeALabel()
    {
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        TPair pair;
        pair.SetText(caption);
        pair.plain->setEnabled(enabled);
        pair.ours->setEnabled(enabled);
        QCOMPARE(pair.DifferingPixels(), 0);
    }

    void newCaptionRepaintsOnlyTheLabel()
    {
        TPair pair;
        QVERIFY(QTest::qWaitForWindowExposed(&pair.window));
        pair.ours->setText(QStringLiteral("1"));
        QTRY_COMPARE(pair.DifferingPixels() > 0, true);
        TPaintCounter boxPaints;
        TPaintCounter labelPaints;
        pair.boxes[1]->installEventFilter(&boxPaints);
        pair.ours->installEventFilter(&labelPaints);
        for (int count = 2; count < 6; ++count) {
            pair.ours->setText(QString::number(count));
            QTRY_VERIFY(labelPaints.Count >= count - 1);
        }
        QCOMPARE(boxPaints.Count, 0);
        pair.plain->setText(QStringLiteral("5"));
        QCOMPARE(pair.DifferingPixels(), 0);
    }

    // The kept picture of the parent is taken again when what it shows may have changed.
    void backgroundFollowsTheParent_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("parent palette") << 0;
        QTest::newRow("parent resized") << 1;
        QTest::newRow("label moved") << 2;
        QTest::newRow("label resized") << 3;
    }
    void backgroundFollowsTheParent()
    {
        QFETCH(int, change);
        TPair pair;
        pair.SetText(QStringLiteral("99"));
        QCOMPARE(pair.DifferingPixels(), 0);
        for (int i = 0; i < 2; ++i) {
            QWidget *box = pair.boxes[i];
            QLabel *label = i == 0 ? pair.plain : static_cast<QLabel *>(pair.ours);
            switch (change) {
            case 0: {
                QPalette palette = box->palette();
                palette.setColor(QPalette::Window, QColor(200, 230, 255));
                box->setPalette(palette);
                box->setAutoFillBackground(true);
                break;
            }
            case 1: box->resize(120, 60); break;
            case 2: label->move(10, 20); break;
            case 3: label->resize(30, 30); break;
            }
        }
        QCOMPARE(pair.DifferingPixels(), 0);
    }
};

QTEST_MAIN(TstOpaqueLabel)
#include "tst_opaquelabel.moc"
