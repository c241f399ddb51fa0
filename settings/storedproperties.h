#pragma once

#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QStringList>

class TStoreSection;

// The control properties a window keeps in its stored state, listed as "Component.Property"
// ("ComPortRG.ItemIndex", "RxMemo.Font"). Each is stored under "Component_Property"; a font (or
// any object-valued property) as one value per sub-property, "RxMemo_FontName" and so on.
class TStoredProperties
{
public:
    TStoredProperties() = default;
    // Looks the components up below root by name, case-insensitively; entries that do not split
    // at a "." or name no component are dropped.
    TStoredProperties(QObject *root, const QStringList &entries);

    qsizetype Count() const { return m_entries.size(); }

    // Assigns every stored value; a missing value keeps the property's current value and a
    // value that cannot be read skips that value.
    void Load(const TStoreSection &section, int pixelsPerInch) const;
    // Writes every value; the first write that fails throws TAppError and ends the save.
    void Save(TStoreSection &section, int pixelsPerInch) const;

private:
    struct TEntry
    {
        QPointer<QObject> Component;
        QString Property;
    };
    // Calls visit(object, property, value name) for every value of one entry, a font's
    // sub-properties in alphabetical order.
    template <typename TVisit>
    void ForEachValue(const TEntry &entry, int pixelsPerInch, TVisit visit) const;

    QList<TEntry> m_entries;
};
