#pragma once

#include <QComboBox>

// Placeholder so the main window's description compiles; its owner replaces it.
class THistoryComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit THistoryComboBox(QWidget *parent = nullptr);
};
