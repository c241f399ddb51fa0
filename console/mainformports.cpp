// The device behind each COM item: the item tooltips and the context menu that assigns a device.
#include "mainform.h"

#include "ui_mainform.h"

#include "application.h"
#include "apperror.h"
#include "commportdriver.h"
#include "comportmap.h"
#include "dialogs.h"
#include "serialdevicelist.h"

#include <QMenu>
#include <QRadioButton>

#include <algorithm>

namespace {

// A typed name without a folder means a device node: "ttyUSB0" is /dev/ttyUSB0.
QString DevicePathFromInput(const QString &input)
{
    const QString path = input.trimmed();
    if (path.isEmpty() || path.startsWith(u'/'))
        return path;
    return QStringLiteral("/dev/") + path;
}

} // namespace

QString TMainForm::ComPortName(int item) const
{
    return TComPortMap::PortName(item + 1);
}

void TMainForm::UpdatePortHints()
{
    const TComPortMap map;
    for (int item = 0; item < m_ui->ComPortRG->Count(); ++item)
        m_ui->ComPortRG->Button(item)->setToolTip(map.DevicePath(ComPortName(item)));
    UpdatePortSection();
}

void TMainForm::ComPortRGContextMenu(const QPoint &pos)
{
    const int item = m_ui->ComPortRG->ItemAt(pos);
    if (item < 0)
        return;
    BuildPortMenu(item)->popup(m_ui->ComPortRG->mapToGlobal(pos));
}

QMenu *TMainForm::BuildPortMenu(int item)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ComPortMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString current = TComPortMap().DevicePath(ComPortName(item));
    QList<TSerialDevice> devices = TSerialDeviceList().Devices();
    // The assigned device stays in view even while it is unplugged.
    if (std::none_of(devices.cbegin(), devices.cend(), [&](const TSerialDevice &d) { return d.Path == current; }))
        devices.prepend({current, QStringLiteral("%1 (not present)").arg(current)});
    for (const TSerialDevice &device : devices) {
        QAction *action = menu->addAction(QString(device.Label).replace(u'&', QStringLiteral("&&")));
        action->setCheckable(true);
        action->setChecked(device.Path == current);
        connect(action, &QAction::triggered, this,
                m_app.Guard([this, item, path = device.Path] { AssignPortDevice(item, path); }));
    }
    menu->addSeparator();
    QAction *other = menu->addAction(QStringLiteral("Other…"));
    connect(other, &QAction::triggered, this, m_app.Guard([this, item, current] {
                const auto typed = m_app.Dialogs().InputText(
                    this, QStringLiteral("Device for %1").arg(ComPortName(item)),
                    QStringLiteral("Device path:"), current);
                if (typed && !DevicePathFromInput(*typed).isEmpty())
                    AssignPortDevice(item, DevicePathFromInput(*typed));
            }));
    menu->addSeparator();
    QAction *reconnect = menu->addAction(QStringLiteral("Reconnect when the device returns"));
    reconnect->setObjectName(QStringLiteral("ReconnectWhenDeviceReturns"));
    reconnect->setCheckable(true);
    reconnect->setChecked(ReconnectWhenDeviceReturns());
    connect(reconnect, &QAction::toggled, this, m_app.Guard(this, &TMainForm::SetReconnectWhenDeviceReturns));
    return menu;
}

void TMainForm::AssignPortDevice(int item, const QString &devicePath)
{
    TComPortMap map;
    if (!map.Assign(ComPortName(item), devicePath))
        throw TAppError(QStringLiteral("Cannot store the device for %1\n%2").arg(ComPortName(item), map.LastError()));
    UpdatePortHints();
    // A new device for the port in use takes effect as a port change does.
    if (item == m_ui->ComPortRG->ItemIndex() && m_driver->IsOpen())
        ApplyPortSettings();
    else if (item == int(m_driver->ComPort()) && WaitingForDevice())
        WaitForNewDevice();
}
