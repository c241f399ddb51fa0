#pragma once

#include <QAccessibleWidget>

class TALed;

// Lets screen readers read a lamp as the two-state indicator it is: checked while Value is
// true, whatever image a blink shows at the moment. It takes no focus and no action; the
// lamp only shows what it is told.
class TALedAccessible : public QAccessibleWidget
{
public:
    explicit TALedAccessible(TALed *led);
    // Registers the interface for every TALed; the lamp's constructor calls it.
    static void Install();

    QAccessible::State state() const override;
};
