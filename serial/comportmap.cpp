#include "comportmap.h"

#include <QHash>

namespace {

// Only the user-interface thread maps and opens ports.
QHash<QString, QString> &RunMappings()
{
    static QHash<QString, QString> mappings;
    return mappings;
}

} // namespace

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
    const auto mapped = RunMappings().constFind(comName);
    if (mapped != RunMappings().cend())
        return *mapped;
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
    if (!IsPortName(comName) || !m_store.WriteText(Key(), comName, devicePath))
        return false;
    RunMappings().remove(comName);
    return true;
}

bool TComPortMap::Forget(const QString &comName)
{
    RunMappings().remove(comName);
    return IsPortName(comName) && m_store.DeleteValue(Key(), comName);
}

bool TComPortMap::MapForRun(const QString &comName, const QString &devicePath)
{
    if (!IsPortName(comName))
        return false;
    RunMappings().insert(comName, devicePath);
    return true;
}

void TComPortMap::ForgetRunMappings()
{
    RunMappings().clear();
}
