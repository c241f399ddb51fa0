#include "radiogroup.h"

#include <QApplication>
#include <QButtonGroup>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>

#include <algorithm>

namespace {

// The application's look for a group's items, with each circle at least a pixel shorter than its
// row so that it stays clear of the next item's: six items in a settings bar get rows shorter
// than the circles a style draws.
class TItemStyle : public QProxyStyle
{
public:
    static TItemStyle *Instance()
    {
        static QPointer<TItemStyle> instance;
        if (!instance) {
            instance = new TItemStyle;
            instance->setParent(QCoreApplication::instance());
        }
        return instance;
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (widget && (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight))
            return std::clamp(widget->height() - 1, 1, size);
        return size;
    }
    // Pauses and other hints stay the application's, which may have been tuned.
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        return QApplication::style()->styleHint(hint, option, widget, data);
    }
};

} // namespace

TRadioGroup::TRadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , m_buttons(new QButtonGroup(this))
{
    // One tab stop for the whole group, as a settings bar expects: the group forwards focus to
    // its selected button, and the arrow keys move between the buttons.
    setFocusPolicy(Qt::TabFocus);
    connect(m_buttons, &QButtonGroup::idToggled, this, &TRadioGroup::ButtonToggled);
}

void TRadioGroup::SetItems(const QStringList &items)
{
    m_items = items;
    Rebuild();
}

void TRadioGroup::SetColumns(int columns)
{
    m_columns = std::max(1, columns);
    Arrange();
}

QRadioButton *TRadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton *>(m_buttons->button(index));
}

int TRadioGroup::ItemAt(const QPoint &pos) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Button(i)->geometry().contains(pos))
            return i;
    }
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    index = std::clamp(index, -1, Count() - 1);
    if (index == m_itemIndex)
        return;
    if (index < 0) {
        // An exclusive group cannot uncheck its last button by itself.
        m_buttons->setExclusive(false);
        Button(m_itemIndex)->setChecked(false);
        m_buttons->setExclusive(true);
        m_itemIndex = -1;
        UpdateTabStop();
        emit Click();
        return;
    }
    Button(index)->setChecked(true);   // ButtonToggled records it and raises Click
}

void TRadioGroup::ButtonToggled(int index, bool checked)
{
    if (!checked || index == m_itemIndex)
        return;
    m_itemIndex = index;
    UpdateTabStop();
    emit Click();
}

void TRadioGroup::UpdateTabStop()
{
    const int stop = std::max(0, m_itemIndex);
    for (int i = 0; i < Count(); ++i)
        Button(i)->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
    setFocusProxy(Button(stop));
}

void TRadioGroup::Rebuild()
{
    const int keep = m_itemIndex;
    for (QAbstractButton *button : m_buttons->buttons()) {
        m_buttons->removeButton(button);
        delete button;
    }
    m_itemIndex = -1;
    for (int i = 0; i < Count(); ++i) {
        auto *button = new QRadioButton(m_items.at(i), this);
        button->setStyle(TItemStyle::Instance());
        m_buttons->addButton(button, i);
        button->show();
    }
    Arrange();
    UpdateTabStop();
    if (keep >= 0 && keep < Count()) {
        const QSignalBlocker quiet(this);
        SetItemIndex(keep);
    }
}

void TRadioGroup::Arrange()
{
    // Every item gets an equal share of the group, as a fixed-size settings bar expects, even
    // when that share is smaller than a button would ask for; a layout would clip instead.
    if (Count() == 0)
        return;
    const int rows = (Count() + m_columns - 1) / m_columns;
    const QRect area = contentsRect().adjusted(kInset, 0, -kInset, 0);
    const int rowHeight = area.height() / rows;
    const int columnWidth = area.width() / m_columns;
    for (int i = 0; i < Count(); ++i) {
        const int row = i % rows;
        const int column = i / rows;
        Button(i)->setGeometry(area.left() + column * columnWidth, area.top() + row * rowHeight,
                               columnWidth, rowHeight);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    Arrange();
}
