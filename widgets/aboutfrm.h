#pragma once

#include <QDialog>

// Placeholder so the application compiles; its owner replaces it.
class TAboutFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget *parent = nullptr);
};
