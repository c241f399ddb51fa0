#include "aled.h"

TALed::TALed(QWidget *parent)
    : QWidget(parent)
{
}
