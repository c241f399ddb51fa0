#pragma once

#include <QList>
#include <QString>

// One serial device a user may pick for a COM name.
struct TSerialDevice
{
    QString Path;    // what to open
    QString Label;   // what to show
    bool operator==(const TSerialDevice &) const = default;
};

// Finds the serial devices present under a root folder ("/" on a real system): first the stable
// /dev/serial/by-id names with readable labels, then /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS*
// in numeric order. ttyS nodes the kernel reports as having no UART behind them are left out,
// since nearly every machine has thirty-two of those.
class TSerialDeviceList
{
public:
    explicit TSerialDeviceList(const QString &root = QStringLiteral("/"));

    QList<TSerialDevice> Devices() const;

    // "usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0" -> "FTDI FT232R USB UART A9XYZ".
    static QString ReadableName(const QString &byIdName);

private:
    QList<TSerialDevice> ById() const;
    QList<TSerialDevice> Nodes(const QString &pattern) const;
    bool HasNoUart(const QString &nodeName) const;

    QString m_root;
};
