#include "portmaplease.h"

#include <QDebug>

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
    const bool restored = m_previous ? map.Assign(m_comName, *m_previous) : map.Forget(m_comName);
    if (!restored)
        qWarning().noquote() << m_comName << "could not be given back its earlier device:" << map.LastError();
}
