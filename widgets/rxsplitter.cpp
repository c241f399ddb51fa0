#include "rxsplitter.h"

TRxSplitter::TRxSplitter(QWidget *parent)
    : QWidget(parent)
{
}
