#include "memoview.h"
#include "paintcounter.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// A million rows that count how often the view asks for one.
class TCountingSource : public TRowSource
{
public:
    int RowCount() const override { return 1000000; }
    QByteArray RowText(int row) const override
    {
        ++Reads;
        return QByteArray::number(row);
    }
    bool RowEndsLine(int) const override { return true; }
    mutable int Reads = 0;
};

} // namespace

class TstMemoView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paintsOnlyTheRowsInSight();
    void burstOfChangesIsPaintedOnce();
    void followsTheNewestRowUnlessScrolledUp();
    void droppedRowsLeaveAScrolledBackViewWhereItIs();
    void wrapsAtItsWidth();
    void selectionIsCopiedAsText_data();
    void selectionIsCopiedAsText();
    void keyboardAndMouseSelect();
    void contextMenuOffersCopyAndSelectAll();
    void screenReadersReadTheText();
    void showsAnotherSource();
    void everyByteValuePaints();
    void textLooksAsTextLayoutDrawsIt_data();
    void textLooksAsTextLayoutDrawsIt();

private:
    std::unique_ptr<TMemoView> m_view;
};

void TstMemoView::init()
{
    m_view = std::make_unique<TMemoView>();
    m_view->resize(320, 200);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TstMemoView::cleanup()
{
    m_view.reset();
}

void TstMemoView::paintsOnlyTheRowsInSight()
{
    TCountingSource source;
    m_view->SetSource(&source);
    QTRY_COMPARE(m_view->verticalScrollBar()->maximum(), 1000000 - m_view->VisibleRows());
    source.Reads = 0;
    m_view->viewport()->repaint();
    QVERIFY(source.Reads > 0);
    QVERIFY2(source.Reads <= 2 * (m_view->VisibleRows() + 1), qPrintable(QString::number(source.Reads)));
    QCOMPARE(m_view->TopRow(), m_view->verticalScrollBar()->maximum());
    m_view->SetSource(nullptr);
}

void TstMemoView::burstOfChangesIsPaintedOnce()
{
    TPaintCounter counter;
    m_view->viewport()->installEventFilter(&counter);
    QTRY_VERIFY(counter.Count >= 0);
    QTest::qWait(3 * TMemoView::kFrameMs);   // the frames of the set-up go by first
    counter.Count = 0;
    for (int line = 0; line < 2000; ++line)
        m_view->Lines().Add("line " + QByteArray::number(line));
    QTRY_COMPARE(m_view->verticalScrollBar()->maximum(), 2000 - m_view->VisibleRows() + 1);
    QTRY_VERIFY(counter.Count >= 1);
    QVERIFY(counter.Count <= 2);
}

void TstMemoView::followsTheNewestRowUnlessScrolledUp()
{
    for (int line = 0; line < 100; ++line)
        m_view->Lines().Add("a");
    QScrollBar *bar = m_view->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    bar->setValue(3);
    const int before = bar->maximum();
    for (int line = 0; line < 50; ++line)
        m_view->Lines().Add("b");
    QTRY_COMPARE(bar->maximum(), before + 50);
    QCOMPARE(bar->value(), 3);
    bar->setValue(bar->maximum());
    m_view->Lines().Add("c");
    QTRY_COMPARE(bar->maximum(), before + 51);
    QCOMPARE(bar->value(), bar->maximum());
}

// The oldest rows go as new ones come: the text in sight and the selection stay put.
void TstMemoView::droppedRowsLeaveAScrolledBackViewWhereItIs()
{
    for (int line = 0; line < 100; ++line)
        m_view->Lines().Add(QByteArray::number(line));
    QScrollBar *bar = m_view->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(40);
    m_view->Select({45, 0}, {46, 1});
    QSignalSpy frames(m_view.get(), &TMemoView::FrameApplied);
    for (int line = 100; line < 110; ++line)
        m_view->Lines().Add(QByteArray::number(line));
    m_view->Lines().DropFirstRows(10);
    QVERIFY(frames.wait());
    QCOMPARE(m_view->Source().RowText(m_view->TopRow()), QByteArray("40"));
    QCOMPARE(m_view->SelectedText(), QString("45\n4"));
    QTRY_COMPARE(bar->value(), 30);
}

void TstMemoView::wrapsAtItsWidth()
{
    m_view->Lines().Add(QByteArray("41 ").repeated(200));
    const int narrowRows = m_view->Lines().Count();
    QVERIFY(narrowRows > 3);
    const int charsPerRow = m_view->Lines().Get(0).size();
    QCOMPARE(charsPerRow % 3, 0);
    QVERIFY(charsPerRow * m_view->fontMetrics().horizontalAdvance('4') <= m_view->viewport()->width());
    m_view->resize(640, 200);
    QTRY_VERIFY(m_view->Lines().Count() < narrowRows);
    QCOMPARE(m_view->Lines().Text(), QByteArray("41 ").repeated(200) + "\r\n");
}

void TstMemoView::selectionIsCopiedAsText_data()
{
    QTest::addColumn<TMemoView::TPos>("anchor");
    QTest::addColumn<TMemoView::TPos>("cursor");
    QTest::addColumn<QString>("text");
    QTest::newRow("within a row") << TMemoView::TPos{0, 1} << TMemoView::TPos{0, 3} << "bc";
    QTest::newRow("over a line break") << TMemoView::TPos{0, 1} << TMemoView::TPos{1, 2} << "bc\nde";
    QTest::newRow("backwards") << TMemoView::TPos{1, 2} << TMemoView::TPos{0, 1} << "bc\nde";
    QTest::newRow("past the end clamps") << TMemoView::TPos{1, 0} << TMemoView::TPos{9, 9}
                                         << QString::fromLatin1("def\n\xe9\xff");
    QTest::newRow("bytes above 127 as Latin-1") << TMemoView::TPos{2, 0} << TMemoView::TPos{2, 2}
                                                << QString::fromLatin1("\xe9\xff");
}

void TstMemoView::selectionIsCopiedAsText()
{
    QFETCH(TMemoView::TPos, anchor);
    QFETCH(TMemoView::TPos, cursor);
    QFETCH(QString, text);
    m_view->Lines().SetText("abc\r\ndef\r\n\xe9\xff");
    m_view->Select(anchor, cursor);
    QCOMPARE(m_view->SelectedText(), text);
    QApplication::clipboard()->clear();
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), text);
}

void TstMemoView::keyboardAndMouseSelect()
{
    m_view->Lines().SetText("abc\r\ndef");
    QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_view->SelectedText(), QString("abc\ndef"));
    QTest::keyClick(m_view.get(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(m_view.get(), Qt::Key_Right);
    QTest::keyClick(m_view.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_view->SelectedText(), QString("bc\nd"));

    const QRect first = m_view->CharRect({0, 0});
    const QRect last = m_view->CharRect({1, 2});
    QTest::mousePress(m_view->viewport(), Qt::LeftButton, {}, first.center() - QPoint(first.width() / 4, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(last.right() + 1, last.center().y()),
                     m_view->viewport()->mapToGlobal(QPointF(last.right() + 1, last.center().y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_view->viewport(), &move);
    QCOMPARE(m_view->SelectedText(), QString("abc\ndef"));
}

void TstMemoView::contextMenuOffersCopyAndSelectAll()
{
    m_view->Lines().SetText("abc");
    std::unique_ptr<QMenu> menu(m_view->CreateContextMenu());
    auto *copy = menu->findChild<QAction *>("copy");
    QVERIFY(copy);
    QVERIFY(!copy->isEnabled());
    menu->findChild<QAction *>("selectAll")->trigger();
    QCOMPARE(m_view->SelectedText(), QString("abc"));
    menu.reset(m_view->CreateContextMenu());
    QVERIFY(menu->findChild<QAction *>("copy")->isEnabled());
}

void TstMemoView::screenReadersReadTheText()
{
    m_view->setAccessibleName("Receive");
    m_view->Lines().SetText("ab\r\ncd");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_view.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QCOMPARE(accessible->text(QAccessible::Name), QString("Receive"));
    QVERIFY(accessible->state().readOnly);
    QVERIFY(accessible->state().multiLine);
    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 5);
    QCOMPARE(text->text(0, 5), QString("ab\ncd"));
    text->setSelection(0, 1, 4);
    QCOMPARE(m_view->SelectedText(), QString("b\nc"));
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 1);
    QCOMPARE(end, 4);
    QCOMPARE(text->offsetAtPoint(text->characterRect(3).center()), 3);
}

void TstMemoView::showsAnotherSource()
{
    TMemoLines source;
    m_view->SetSource(&source);
    source.SetText("41\r\n0D");
    QTRY_COMPARE(m_view->verticalScrollBar()->maximum(), 0);
    m_view->SelectAll();
    QCOMPARE(m_view->SelectedText(), QString("41\n0D"));
    source.Clear();
    QCOMPARE(m_view->SelectedText(), QString());
    m_view->SetSource(nullptr);
}

void TstMemoView::everyByteValuePaints()
{
    QByteArray all;
    for (int value = 1; value < 256; ++value)
        all += char(value);
    m_view->Lines().SetText(all);
    m_view->SelectAll();
    QVERIFY(!m_view->grab().isNull());
    QCOMPARE(m_view->Lines().Text(), all);
}

void TstMemoView::textLooksAsTextLayoutDrawsIt_data()
{
    QTest::addColumn<TMemoView::TPos>("anchor");
    QTest::addColumn<TMemoView::TPos>("cursor");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::addColumn<int>("pixels");
    const TMemoView::TPos none;
    QTest::newRow("no selection") << none << none << false << false << 0;
    QTest::newRow("within a row") << TMemoView::TPos{1, 2} << TMemoView::TPos{1, 9} << false << false << 0;
    QTest::newRow("across rows, backwards") << TMemoView::TPos{2, 4} << TMemoView::TPos{0, 6} << false << false << 0;
    QTest::newRow("underlined") << none << none << true << false << 11;
    QTest::newRow("struck out") << none << none << false << true << 11;
    QTest::newRow("both, selected") << TMemoView::TPos{1, 2} << TMemoView::TPos{3, 2} << true << true << 0;
    QTest::newRow("both, thick lines") << none << none << true << true << 40;
}

// The view places glyphs itself, all rows in one run; they must land where Qt's own text drawing
// puts them, the selection, underline and strike-out included.
void TstMemoView::textLooksAsTextLayoutDrawsIt()
{
    QFETCH(TMemoView::TPos, anchor);
    QFETCH(TMemoView::TPos, cursor);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    QFETCH(int, pixels);
    QFont font = m_view->font();
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    if (pixels > 0)
        font.setPixelSize(pixels);
    m_view->setFont(font);
    m_view->resize(800, 260);
    const QList<QByteArray> rows = {"T=23.5C H=41% seq=00016381 WAW", "41 0D 0A 54 3D ", "", "x  y"};
    m_view->Lines().SetText(rows.join("\r\n"));
    QTRY_COMPARE(m_view->Source().RowCount(), int(rows.size()));
    m_view->Select(anchor, cursor);
    QWidget *viewport = m_view->viewport();
    const QImage shown = viewport->grab().toImage();

    QImage expected(shown.size(), shown.format());
    expected.setDevicePixelRatio(shown.devicePixelRatio());
    const QPalette &colours = viewport->palette();
    expected.fill(colours.color(QPalette::Base));
    QPainter painter(&expected);
    painter.setFont(m_view->font());
    const QFontMetrics metrics(m_view->font());
    const auto xOf = [&](const QByteArray &text, int col) {
        return TMemoView::kMargin + metrics.horizontalAdvance(QString::fromLatin1(text.left(col)));
    };
    const TMemoView::TPos from = std::min(anchor, cursor);
    const TMemoView::TPos to = std::max(anchor, cursor);
    for (int row = 0; row < rows.size(); ++row) {
        const QByteArray &text = rows[row];
        const int top = TMemoView::kMargin + row * metrics.lineSpacing();
        const int baseline = top + metrics.ascent();
        const bool selected = from != to && row >= from.row && row <= to.row;
        const int begin = row == from.row ? from.col : 0;
        const int end = row == to.row ? to.col : int(text.size());
        if (selected) {
            const int right = row == to.row ? xOf(text, end) : xOf(text + ' ', end + 1);
            painter.fillRect(QRect(xOf(text, begin), top, right - xOf(text, begin), metrics.lineSpacing()),
                             colours.color(QPalette::Highlight));
        }
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(QPoint(TMemoView::kMargin, baseline), QString::fromLatin1(text));
        if (selected) {
            painter.setPen(colours.color(QPalette::HighlightedText));
            painter.drawText(QPoint(xOf(text, begin), baseline), QString::fromLatin1(text.mid(begin, end - begin)));
        }
    }
    painter.end();
    QCOMPARE(shown, expected);
}

QTEST_MAIN(TstMemoView)
#include "tst_memoview.moc"
