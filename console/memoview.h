#pragma once

#include <QAbstractScrollArea>

// Placeholder so the main window's description compiles; its owner replaces it.
class TMemoView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TMemoView(QWidget *parent = nullptr);
};
