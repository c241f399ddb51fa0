#pragma once

#include <QString>

struct TPortDiagnosis;

// Why a port would not open, in words a user can act on: a short form for the status bar and a
// few sentences for when it is clicked.
struct TPortReason
{
    QString Short;
    QString Explanation;
};

TPortReason DescribeOpenFailure(const TPortDiagnosis &diagnosis);

// The device as the status bar names it: a node with its readable /dev/serial/by-id name beside it
// where it has one ("/dev/ttyUSB0 (FTDI FT232R USB UART A9XYZ)"), else the path as mapped.
QString DeviceLabel(const QString &path, const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));
