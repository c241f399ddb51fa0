#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A titled group of exclusive radio buttons addressed by index, as a settings bar needs it:
// the items run down the columns, and Click is raised only when the selection really changes,
// whether the user or SetItemIndex changed it.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const { return m_items; }
    void SetItems(const QStringList &items);
    int Columns() const { return m_columns; }
    void SetColumns(int columns);   // at least 1
    // -1 when nothing is selected.
    int ItemIndex() const { return m_itemIndex; }
    // Clamped to -1 .. last item; raises Click when the selection changes.
    void SetItemIndex(int index);

    int Count() const { return int(m_items.size()); }
    QRadioButton *Button(int index) const;   // nullptr when out of range
    // The item whose button lies under pos (in this widget's coordinates), or -1.
    int ItemAt(const QPoint &pos) const;

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    static constexpr int kInset = 2;

    void Rebuild();
    void UpdateTabStop();
    void Arrange();
    void ButtonToggled(int index, bool checked);

    QStringList m_items;
    int m_columns = 1;
    int m_itemIndex = -1;
    QButtonGroup *m_buttons;
};
