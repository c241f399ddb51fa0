#pragma once

#include <QAccessible>

#include <functional>

class QWidget;

// Screen readers learn what a control is from its role, and Qt reports our classes by their
// Qt base: a QFrame as a frame, which a screen reader takes for a window, a plain top-level
// QWidget as filler. Registering a class name gives its widgets, and those of classes derived
// from it, their own accessible interface. Register in the constructor, before the widget's
// interface is first asked for: Qt keeps the first interface it makes for a widget.
using TAccessibleMaker = std::function<QAccessibleInterface *(QWidget *widget)>;
void RegisterAccessible(const char *className, TAccessibleMaker make);
// A plain widget interface with the given role.
void SetAccessibleRole(const char *className, QAccessible::Role role);
