#include "memoview.h"

TMemoView::TMemoView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
}
