#include "linelamps.h"

#include "aled.h"

#include <QHBoxLayout>
#include <QLabel>

TLineLamps::TLineLamps(const QStringList &names, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (const QString &name : names) {
        auto *label = new QLabel(name, this);
        auto *lamp = new TALed(this);
        lamp->setObjectName(name + QStringLiteral("Led"));
        lamp->setAccessibleName(name + QStringLiteral(" lamp"));
        lamp->SetLEDStyle(TALed::LEDHorizontal);
        lamp->SetBlink(false);
        row->addWidget(label);
        row->addWidget(lamp);
        row->addSpacing(4);
        m_labels << label;
        m_lamps << lamp;
    }
}

void TLineLamps::SetValues(const QList<bool> &values)
{
    SetAvailable(true, QString());
    for (int i = 0; i < Count() && i < values.size(); ++i)
        m_lamps[i]->SetValue(values[i]);
}

void TLineLamps::SetUnavailable(const QString &why)
{
    for (TALed *lamp : m_lamps)
        lamp->SetValue(false);
    SetAvailable(false, why);
}

void TLineLamps::SetAvailable(bool available, const QString &tip)
{
    m_available = available;
    for (QLabel *label : m_labels)
        label->setEnabled(available);
    for (TALed *lamp : m_lamps) {
        lamp->setEnabled(available);
        lamp->setToolTip(tip);
    }
}
