#include "storedproperties.h"

#include "fontproperties.h"
#include "propertycodec.h"
#include "storesection.h"

#include <QFont>

#include <algorithm>
#include <exception>
#include <memory>

namespace {

QObject *FindComponent(QObject *root, const QString &name)
{
    if (root->objectName().compare(name, Qt::CaseInsensitive) == 0)
        return root;
    const QList<QObject *> all = root->findChildren<QObject *>();
    const auto exact = std::find_if(all.cbegin(), all.cend(),
                                    [&](const QObject *child) { return child->objectName() == name; });
    if (exact != all.cend())
        return *exact;
    const auto loose = std::find_if(all.cbegin(), all.cend(), [&](const QObject *child) {
        return child->objectName().compare(name, Qt::CaseInsensitive) == 0;
    });
    return loose != all.cend() ? *loose : nullptr;
}

// The published sub-properties of an object, alphabetically (QObject's own left out).
QList<QMetaProperty> SubProperties(const QObject *object)
{
    QList<QMetaProperty> properties;
    const QMetaObject *meta = object->metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        if (meta->property(i).isWritable())
            properties.append(meta->property(i));
    }
    std::sort(properties.begin(), properties.end(), [](const QMetaProperty &a, const QMetaProperty &b) {
        return QString::fromLatin1(a.name()).compare(QLatin1String(b.name()), Qt::CaseInsensitive) < 0;
    });
    return properties;
}

} // namespace

TStoredProperties::TStoredProperties(QObject *root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const qsizetype dot = entry.indexOf(QLatin1Char('.'));
        if (dot < 0)
            continue;
        const QString component = PropertyCodec::Trim(entry.left(dot));
        const QString property = PropertyCodec::Trim(entry.mid(dot + 1));
        if (component.isEmpty() || property.isEmpty())
            continue;
        if (QObject *found = FindComponent(root, component))
            m_entries.append({found, property});
    }
}

template <typename TVisit>
void TStoredProperties::ForEachValue(const TEntry &entry, int pixelsPerInch, TVisit visit) const
{
    QObject *component = entry.Component;
    if (!component)
        return;
    const std::optional<QMetaProperty> property = PropertyCodec::Find(component, entry.Property);
    if (!property)
        return;
    const QString name =
        component->objectName() + QLatin1Char('_') + PropertyCodec::StoredName(*property);
    if (PropertyCodec::KindOf(*property) != PropertyCodec::TKind::Object) {
        visit(component, *property, name);
        return;
    }
    std::unique_ptr<QObject> font;
    QObject *object = nullptr;
    if (property->metaType().id() == QMetaType::QFont) {
        // Made before any of the font's values is assigned: a stored size of 0 goes back to the
        // height the control had before the load.
        font = std::make_unique<TFontProperties>(component, *property, pixelsPerInch);
        object = font.get();
    } else {
        object = property->read(component).value<QObject *>();
    }
    if (!object)
        return;
    for (const QMetaProperty &sub : SubProperties(object)) {
        if (PropertyCodec::KindOf(sub) != PropertyCodec::TKind::Object)
            visit(object, sub, name + PropertyCodec::StoredName(sub));
    }
}

void TStoredProperties::Load(const TStoreSection &section, int pixelsPerInch) const
{
    const auto load = [&](QObject *object, const QMetaProperty &property, const QString &name) {
        try {
            const QString current = PropertyCodec::Encode(object, property);
            const QString text = PropertyCodec::Trim(section.ReadString(name, current));
            PropertyCodec::Decode(object, property, text);
        } catch (const std::exception &) {
            // A value that is not a text, or that cannot be read, leaves this property as it is.
        }
    };
    for (const TEntry &entry : m_entries)
        ForEachValue(entry, pixelsPerInch, load);
}

void TStoredProperties::Save(TStoreSection &section, int pixelsPerInch) const
{
    const auto save = [&](QObject *object, const QMetaProperty &property, const QString &name) {
        section.WriteString(name, PropertyCodec::Trim(PropertyCodec::Encode(object, property)));
    };
    for (const TEntry &entry : m_entries)
        ForEachValue(entry, pixelsPerInch, save);
}
