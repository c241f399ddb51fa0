#pragma once

#include <QWidget>

// Placeholder so the main window's description compiles; its owner replaces it.
class TALed : public QWidget
{
    Q_OBJECT
public:
    explicit TALed(QWidget *parent = nullptr);
};
