#include "rowpainter.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

class TstRowPainter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void columnSearchFindsWhereXOfPlaces_data();
    void columnSearchFindsWhereXOfPlaces();
    void glyphsLandInTheirColumn_data();
    void glyphsLandInTheirColumn();

private:
    QFont m_font;
    TRowPainter m_painter;
};

namespace {

void AddRows()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("sensor line") << QByteArray("T=23.5C H=41% seq=00016381 WAW");
    QTest::newRow("hex with blanks") << QByteArray("41 0D 0A  54 ");
    QTest::newRow("control bytes") << QByteArray("\x01\x7f\tx\x1b", 5);
    QTest::newRow("high Latin-1") << QByteArray("\xe9\xff\xd7\xb5\xc0");
}

} // namespace

void TstRowPainter::init()
{
    m_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_font.setPixelSize(13);
    m_painter.SetFont(m_font);
}

void TstRowPainter::columnSearchFindsWhereXOfPlaces_data()
{
    AddRows();
}

// Hit tests, the selection and the caret all go from columns to pixels and back.
void TstRowPainter::columnSearchFindsWhereXOfPlaces()
{
    QFETCH(QByteArray, text);
    using TPick = TRowPainter::TPick;
    const int size = int(text.size());
    for (int col = 0; col <= size; ++col)
        QCOMPARE(m_painter.ColumnAt(text, m_painter.XOf(text, col), TPick::Caret), col);
    for (int col = 0; col < size; ++col) {
        const int middle = (m_painter.XOf(text, col) + m_painter.XOf(text, col + 1)) / 2;
        QCOMPARE(m_painter.ColumnAt(text, middle, TPick::Character), col);
    }
    QCOMPARE(m_painter.ColumnAt(text, -50, TPick::Character), 0);
    QCOMPARE(m_painter.ColumnAt(text, m_painter.XOf(text, size) + 50, TPick::Caret), size);
    QCOMPARE(m_painter.XOf(text, size + 3), m_painter.XOf(text, size));
}

void TstRowPainter::glyphsLandInTheirColumn_data()
{
    AddRows();
}

// Each character, queued alone as a selection's part of a row is, inks only its own column.
void TstRowPainter::glyphsLandInTheirColumn()
{
    QFETCH(QByteArray, text);
    const QFontMetrics metrics(m_font);
    const QPoint topLeft(5, 3);
    for (int col = 0; col < text.size(); ++col) {
        QImage image(topLeft.x() + m_painter.XOf(text, int(text.size())) + 10, topLeft.y() + metrics.lineSpacing(),
                     QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::black);
        m_painter.QueueBytes(painter, text, col, col + 1, topLeft);
        m_painter.DrawQueued(painter);
        painter.end();
        int left = image.width();
        int right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        if (text[col] == ' ') {
            QCOMPARE(right, -1);
            continue;
        }
        QVERIFY2(right >= 0, qPrintable(QString("column %1 drew nothing").arg(col)));
        QVERIFY(left >= topLeft.x() + m_painter.XOf(text, col) - 1);
        QVERIFY(right <= topLeft.x() + m_painter.XOf(text, col + 1));
    }
}

QTEST_MAIN(TstRowPainter)
#include "tst_rowpainter.moc"
