#pragma once

#include "formplacement.h"
#include "storedproperties.h"

// A TFormPlacement that, in the same passes, also keeps chosen properties of the window's
// controls ("ComPortRG.ItemIndex", "RxMemo.Font", ...) in the same section.
class TFormStorage : public TFormPlacement
{
    Q_OBJECT

public:
    explicit TFormStorage(QWidget *window);
    ~TFormStorage() override;

    QStringList StoredProps() const { return m_storedProps; }
    // Resolves the entries against the window's controls at once; set it after the controls
    // exist and before the window is first shown.
    void SetStoredProps(const QStringList &entries);

protected:
    void LoadStoredProperties(const TStoreSection &section) override;
    void SaveStoredProperties(TStoreSection &section) override;

private:
    QStringList m_storedProps;
    TStoredProperties m_properties;
};
