#include "findbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include <utility>

TFindBar::TFindBar(TMemoView &box, QWidget *parent)
    : QWidget(parent)
    , m_box(&box)
    , m_text(new QLineEdit(this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match case"), this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find bar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *label = new QLabel(QStringLiteral("&Find:"), this);
    label->setBuddy(m_text);
    m_text->setObjectName(QStringLiteral("FindText"));
    m_text->setAccessibleName(QStringLiteral("Find"));
    m_text->setToolTip(QStringLiteral("Text to find; in HEX mode values such as 0D 0A find those bytes"));
    m_matchCase->setObjectName(QStringLiteral("FindMatchCase"));
    m_count->setObjectName(QStringLiteral("FindCount"));
    m_count->setAccessibleName(QStringLiteral("Matches"));
    m_count->setMinimumWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("000000 of 000000")));
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(
        AddButton(QStringLiteral("&Previous"), "FindPrevious", QStringLiteral("Previous match (Shift+F3)")));
    layout->addWidget(AddButton(QStringLiteral("&Next"), "FindNext", QStringLiteral("Next match (F3)")));
    layout->addWidget(m_matchCase);
    layout->addWidget(m_count);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("FindClose"));
    close->setText(QStringLiteral("\u00D7"));
    close->setAutoRaise(true);
    close->setAccessibleName(QStringLiteral("Close find bar"));
    close->setToolTip(QStringLiteral("Close find bar (Esc)"));
    layout->addWidget(close);

    connect(m_text, &QLineEdit::textChanged, this, &TFindBar::Search);
    connect(m_matchCase, &QCheckBox::toggled, this, &TFindBar::Search);
    connect(findChild<QPushButton *>(QStringLiteral("FindPrevious")), &QPushButton::clicked, this,
            &TFindBar::FindPrevious);
    connect(findChild<QPushButton *>(QStringLiteral("FindNext")), &QPushButton::clicked, this, &TFindBar::FindNext);
    connect(close, &QToolButton::clicked, this, &TFindBar::Close);
    // Shortcuts are matched before the window's hot keys see the key, and only while the focus is
    // in the bar.
    for (const auto &[key, find] : {std::pair{QKeySequence(Qt::Key_F3), &TFindBar::FindNext},
                                    std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F3), &TFindBar::FindPrevious}}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, find);
    }
    m_rescan.setSingleShot(true);
    connect(&m_rescan, &QTimer::timeout, this, &TFindBar::Scan);
    connect(&box, &TMemoView::FrameApplied, this, &TFindBar::RowsChanged);
    m_sinceScan.start();
    hide();
}

TFindBar::~TFindBar()
{
    if (m_box)
        m_box->MarksIn = nullptr;
}

QWidget *TFindBar::AddButton(const QString &text, const char *name, const QString &tip)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(tip.left(tip.indexOf(u'(')).trimmed());
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

void TFindBar::Open()
{
    if (!m_box)
        return;
    m_box->MarksIn = [this](int first, int end, std::vector<TMemoView::TMark> &marks) {
        m_find.MarksIn(first, end, marks);
    };
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
    Search();
}

void TFindBar::Close()
{
    m_rescan.stop();
    hide();
    if (!m_box)
        return;
    m_box->MarksIn = nullptr;
    m_box->viewport()->update();
    m_box->setFocus(Qt::ShortcutFocusReason);
}

void TFindBar::FindNext()
{
    Scan();
    m_find.Next();
    ShowCurrent();
}

void TFindBar::FindPrevious()
{
    Scan();
    m_find.Previous();
    ShowCurrent();
}

void TFindBar::Refresh()
{
    if (isVisible())
        Scan();
}

void TFindBar::keyPressEvent(QKeyEvent *event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: shift ? FindPrevious() : FindNext(); break;
    case Qt::Key_Escape: Close(); break;
    default: return QWidget::keyPressEvent(event);
    }
}

// A new query starts from the top row in sight, as the user reads down from there.
void TFindBar::Search()
{
    if (!m_box)
        return;
    Scan();
    m_find.GoTo(TMemoView::TPos{m_box->TopRow(), 0});
    ShowCurrent();
}

void TFindBar::RowsChanged()
{
    if (isHidden() || m_text->text().isEmpty() || m_rescan.isActive())
        return;
    const qint64 wait = std::max<qint64>(0, m_scanMs * kCostShare - m_sinceScan.elapsed());
    m_rescan.start(int(std::min<qint64>(wait, 1000)));
}

void TFindBar::Scan()
{
    if (!m_box)
        return;
    m_rescan.stop();
    QElapsedTimer cost;
    cost.start();
    m_find.SetQuery(m_text->text(), m_matchCase->isChecked(), HexMode && HexMode());
    m_find.Scan(m_box->Source());
    m_scanMs = cost.elapsed();
    m_sinceScan.start();
    m_count->setText(m_find.CountText());
    m_box->viewport()->update();
}

void TFindBar::ShowCurrent()
{
    m_count->setText(m_find.CountText());
    if (m_box && m_find.Current() >= 0) {
        const TRxFind::TMatch &match = m_find.Match(m_find.Current());
        m_box->ShowRow(match.To.row);
        m_box->ShowRow(match.From.row);
    }
    if (m_box)
        m_box->viewport()->update();
}
