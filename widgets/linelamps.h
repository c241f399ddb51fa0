#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QLabel;
class TALed;

// A row of read-only lamps, each after a label with its line's name, for lines that are shown,
// never set. The lamps read as "<name> lamp" to screen readers, checked while their line is on.
// Unavailable lines show every lamp off and greyed, with the reason as their tooltip.
class TLineLamps : public QWidget
{
    Q_OBJECT
public:
    // names: one lamp each, in order; each lamp's object name is the line's name + "Led".
    explicit TLineLamps(const QStringList &names, QWidget *parent = nullptr);

    int Count() const { return int(m_lamps.size()); }
    TALed *Lamp(int index) const { return m_lamps.value(index); }
    // values: one per lamp, in order; makes the lines available.
    void SetValues(const QList<bool> &values);
    void SetUnavailable(const QString &why);
    bool Available() const { return m_available; }

private:
    void SetAvailable(bool available, const QString &tip);

    QList<QLabel *> m_labels;
    QList<TALed *> m_lamps;
    bool m_available = true;
};
