#include "historycombobox.h"

THistoryComboBox::THistoryComboBox(QWidget *parent)
    : QComboBox(parent)
{
}
