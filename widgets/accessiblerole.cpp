#include "accessiblerole.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace {

QHash<QString, TAccessibleMaker> &Makers()
{
    static QHash<QString, TAccessibleMaker> makers;
    return makers;
}

QAccessibleInterface *CreateRegistered(const QString &className, QObject *object)
{
    const auto found = Makers().constFind(className);
    if (found == Makers().cend() || !object || !object->isWidgetType())
        return nullptr;
    return (*found)(static_cast<QWidget *>(object));
}

} // namespace

void RegisterAccessible(const char *className, TAccessibleMaker make)
{
    static const bool installed = [] {
        QAccessible::installFactory(CreateRegistered);
        return true;
    }();
    (void)installed;
    Makers().insert(QString::fromLatin1(className), std::move(make));
}

void SetAccessibleRole(const char *className, QAccessible::Role role)
{
    RegisterAccessible(className, [role](QWidget *widget) { return new QAccessibleWidget(widget, role); });
}
