#include "aboutfrm.h"

TAboutFrm::TAboutFrm(QWidget *parent)
    : QDialog(parent)
{
}
