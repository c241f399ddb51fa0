#pragma once

#include <QWidget>

// Placeholder so the main window's description compiles; its owner replaces it.
class TRxSplitter : public QWidget
{
    Q_OBJECT
public:
    explicit TRxSplitter(QWidget *parent = nullptr);
};
