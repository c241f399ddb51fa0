#pragma once

#include "fontproperties.h"

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;
class QSpinBox;
class THistoryComboBox;

// A control of every stored kind that Qt's own widgets do not offer: a clamped index, an
// enumeration and a set.
class TTestControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(TMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(TOptions Options READ Options WRITE SetOptions)

public:
    enum TMode { mdFirst, mdSecond, mdThird };
    Q_ENUM(TMode)
    enum TOption { opA = 0x1, opB = 0x2, opC = 0x4 };
    Q_DECLARE_FLAGS(TOptions, TOption)
    Q_FLAG(TOptions)

    static constexpr int kItems = 4;

    using QWidget::QWidget;
    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index) { m_itemIndex = qBound(-1, index, kItems - 1); }
    TMode Mode() const { return m_mode; }
    void SetMode(TMode mode) { m_mode = mode; }
    TOptions Options() const { return m_options; }
    void SetOptions(TOptions options) { m_options = options; }

private:
    int m_itemIndex = 0;
    TMode m_mode = mdFirst;
    TOptions m_options;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTestControl::TOptions)

// A window with one control of each stored kind, named as the stored entries name them.
class TStoredWindow : public QWidget
{
    Q_OBJECT

public:
    TStoredWindow();
    static QStringList Entries();

    TTestControl *Control;
    QCheckBox *Check;
    THistoryComboBox *Macro;
    QSpinBox *Count;
    QPlainTextEdit *Memo;
};
