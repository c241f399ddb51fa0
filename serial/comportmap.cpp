#include "comportmap.h"

QString TComPortMap::Key()
{
    return QStringLiteral("Software\\VELORAND\\Ports");
}

TComPortMap::TComPortMap(const QString &storePath)
    : m_store(storePath)
{
}

bool TComPortMap::IsPortName(const QString &comName)
{
    return comName.size() == 4 && comName.startsWith(QLatin1String("COM")) && comName[3] >= u'1'
        && comName[3] < QChar(u'1' + kPortCount);
}

QString TComPortMap::PortName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

QString TComPortMap::DefaultPath(const QString &comName)
{
    if (!IsPortName(comName))
        return {};
    return QStringLiteral("/dev/ttyS%1").arg(comName[3].unicode() - u'1');
}

QString TComPortMap::DevicePath(const QString &comName) const
{
    return StoredPath(comName).value_or(DefaultPath(comName));
}

std::optional<QString> TComPortMap::StoredPath(const QString &comName) const
{
    if (!IsPortName(comName))
        return std::nullopt;
    return m_store.ReadText(Key(), comName);
}

bool TComPortMap::Assign(const QString &comName, const QString &devicePath)
{
    return IsPortName(comName) && m_store.WriteText(Key(), comName, devicePath);
}

bool TComPortMap::Forget(const QString &comName)
{
    return IsPortName(comName) && m_store.DeleteValue(Key(), comName);
}
