#include "aledaccessible.h"

#include "accessiblerole.h"
#include "aled.h"

TALedAccessible::TALedAccessible(TALed *led)
    : QAccessibleWidget(led, QAccessible::CheckBox)
{
}

void TALedAccessible::Install()
{
    RegisterAccessible("TALed", [](QWidget *widget) { return new TALedAccessible(static_cast<TALed *>(widget)); });
}

QAccessible::State TALedAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = static_cast<const TALed *>(widget())->Value();
    state.readOnly = true;
    return state;
}
