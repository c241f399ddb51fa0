#pragma once

#include "comportmap.h"

#include <optional>

// Points one COM name of the user's port map at a device for as long as the object lives, then
// puts back what was there before (or nothing, so the default applies again).
class TPortMapLease
{
public:
    TPortMapLease(const QString &comName, const QString &devicePath);
    ~TPortMapLease();
    TPortMapLease(const TPortMapLease &) = delete;
    TPortMapLease &operator=(const TPortMapLease &) = delete;

    bool IsHeld() const { return m_held; }

private:
    QString m_comName;
    std::optional<QString> m_previous;
    bool m_held = false;
};
