#include "serialdevicelist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// ttyS10 after ttyS9: compare the name's stem, then its trailing number.
bool NumericLess(const QString &a, const QString &b)
{
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d*)$"));
    const auto ma = tail.match(a);
    const auto mb = tail.match(b);
    if (ma.captured(1) != mb.captured(1))
        return ma.captured(1) < mb.captured(1);
    return ma.captured(2).toULongLong() < mb.captured(2).toULongLong();
}

constexpr QDir::Filters kNodes = QDir::Files | QDir::System | QDir::NoDotAndDotDot;

} // namespace

TSerialDeviceList::TSerialDeviceList(const QString &root)
    : m_root(QDir::cleanPath(root))
{
}

QList<TSerialDevice> TSerialDeviceList::Devices() const
{
    QList<TSerialDevice> devices = ById();
    for (const char *pattern : {"ttyUSB*", "ttyACM*", "ttyS*"})
        devices += Nodes(QString::fromLatin1(pattern));
    return devices;
}

QString TSerialDeviceList::ReadableName(const QString &byIdName)
{
    static const QRegularExpression bus(QStringLiteral("^(usb|pci|platform)-"));
    static const QRegularExpression interface(QStringLiteral("-if\\d+(-port\\d+)?$"));
    static const QRegularExpression escaped(QStringLiteral("\\\\x([0-9A-Fa-f]{2})"));
    QString name = byIdName;
    name.remove(bus).remove(interface);
    QRegularExpressionMatch match;
    while ((match = escaped.match(name)).hasMatch())
        name.replace(match.capturedStart(), match.capturedLength(), QChar(match.captured(1).toUShort(nullptr, 16)));
    name.replace(u'_', u' ');
    return name.simplified().isEmpty() ? byIdName : name.simplified();
}

QList<TSerialDevice> TSerialDeviceList::ById() const
{
    const QDir dir(m_root + QStringLiteral("/dev/serial/by-id"));
    QList<TSerialDevice> devices;
    for (const QFileInfo &link : dir.entryInfoList(kNodes, QDir::Name)) {
        if (!link.exists())   // a link whose device has gone
            continue;
        const QString target = QFileInfo(link.symLinkTarget()).fileName();
        QString label = ReadableName(link.fileName());
        if (!target.isEmpty())
            label += QStringLiteral(" (%1)").arg(target);
        devices.append({link.absoluteFilePath(), label});
    }
    return devices;
}

QList<TSerialDevice> TSerialDeviceList::Nodes(const QString &pattern) const
{
    const QDir dir(m_root + QStringLiteral("/dev"));
    QStringList names = dir.entryList({pattern}, kNodes);
    std::sort(names.begin(), names.end(), NumericLess);
    QList<TSerialDevice> devices;
    for (const QString &name : names) {
        if (name.startsWith(u"ttyS") && HasNoUart(name))
            continue;
        const QString path = dir.absoluteFilePath(name);
        devices.append({path, path});
    }
    return devices;
}

bool TSerialDeviceList::HasNoUart(const QString &nodeName) const
{
    // The kernel lists a port type of 0 (unknown) for a ttyS node with no hardware behind it.
    QFile type(m_root + QStringLiteral("/sys/class/tty/") + nodeName + QStringLiteral("/type"));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "0";
}
