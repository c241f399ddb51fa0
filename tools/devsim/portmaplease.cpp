#include "portmaplease.h"

TPortMapLease::TPortMapLease(const QString &comName, const QString &devicePath)
    : m_comName(comName)
    , m_previous(TComPortMap().StoredPath(comName))
{
    m_held = TComPortMap().Assign(comName, devicePath);
}

TPortMapLease::~TPortMapLease()
{
    if (!m_held)
        return;
    TComPortMap map;
    if (m_previous)
        map.Assign(m_comName, *m_previous);
    else
        map.Forget(m_comName);
}
