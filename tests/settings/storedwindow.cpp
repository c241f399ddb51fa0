#include "storedwindow.h"

#include "historycombobox.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TStoredWindow::TStoredWindow()
    : Control(new TTestControl)
    , Check(new QCheckBox)
    , Macro(new THistoryComboBox)
    , Count(new QSpinBox)
    , Memo(new QPlainTextEdit)
{
    setObjectName("StoredWindow");
    Control->setObjectName("Control");
    Check->setObjectName("cbAuto");
    Macro->setObjectName("lbMacro1");
    Count->setObjectName("ChCount0");
    Count->setRange(0, 255);
    Memo->setObjectName("RxMemo");
    // Nested one level down, as controls on panels are.
    auto *panel = new QWidget(this);
    auto *layout = new QVBoxLayout(panel);
    for (QWidget *control : QList<QWidget *>{Control, Check, Macro, Count, Memo})
        layout->addWidget(control);
    resize(400, 300);
}

QStringList TStoredWindow::Entries()
{
    return {"Control.ItemIndex", "Control.Mode", "Control.Options", "cbAuto.Checked",
            "lbMacro1.Text", "ChCount0.Value", "RxMemo.Font"};
}
