#include "formstorage.h"

#include <QWidget>

TFormStorage::TFormStorage(QWidget *window)
    : TFormPlacement(window)
{
}

TFormStorage::~TFormStorage()
{
    // Runs here, not in the base destructor, so that the properties are saved too.
    HandleDestroy();
}

void TFormStorage::SetStoredProps(const QStringList &entries)
{
    m_storedProps = entries;
    m_properties = Window() ? TStoredProperties(Window(), entries) : TStoredProperties();
}

void TFormStorage::LoadStoredProperties(const TStoreSection &section)
{
    m_properties.Load(section, Screen().PixelsPerInch);
}

void TFormStorage::SaveStoredProperties(TStoreSection &section)
{
    m_properties.Save(section, Screen().PixelsPerInch);
}
