#include "portfailuretext.h"

#include "portdiagnosis.h"
#include "serialdevicelist.h"

#include <QDir>
#include <QFileInfo>

namespace {

using TKind = TPortDiagnosis::TKind;
using TAccess = TPortDiagnosis::TAccess;

const QString kChooseAnother = QStringLiteral(" Right-click the COM Port group to choose another device.");

TPortReason Missing(const QString &device)
{
    return {QStringLiteral("%1 does not exist: is the adapter plugged in?").arg(device),
            QStringLiteral("%1: no such device. Plug the adapter in, or choose another device.").arg(device)
                + kChooseAnother};
}

TPortReason InUse(const TPortDiagnosis &d)
{
    const QString holder = d.HolderName.isEmpty()
        ? QStringLiteral("another program")
        : QStringLiteral("%1, PID %2").arg(d.HolderName).arg(d.HolderPid);
    const QString text = QStringLiteral("%1 is in use by %2").arg(d.Device, holder);
    return {text, text + QStringLiteral(". Close that program and connect again, or choose another device.")
                      + kChooseAnother};
}

TPortReason Refused(const TPortDiagnosis &d)
{
    const QString refused = QStringLiteral("Permission to open %1 was refused: ").arg(d.Device);
    if (d.Access == TAccess::NotInGroup) {
        const QString why = QStringLiteral("you are not in the group that owns it (%1): sudo adduser $USER %1, "
                                           "then log in again").arg(d.Group);
        return {d.Device + QStringLiteral(": ") + why, refused + why + u'.'};
    }
    if (d.Access == TAccess::RootOnly)
        return {QStringLiteral("%1: only root may open it").arg(d.Device),
                refused + QStringLiteral("only root may open it. A udev rule that gives it to the dialout group "
                                         "(GROUP=\"dialout\", MODE=\"0660\") lets its members open it.")};
    return {QStringLiteral("%1: permission denied").arg(d.Device),
            refused + QStringLiteral("serial devices usually belong to the group dialout: sudo adduser $USER "
                                     "dialout, then log in again.")};
}

TPortReason NotSerial(const TPortDiagnosis &d)
{
    const QString what = d.Kind == TKind::RegularFile ? QStringLiteral("a regular file")
        : d.Kind == TKind::Folder                     ? QStringLiteral("a folder")
                                                      : QStringLiteral("something else");
    const QString text = QStringLiteral("%1 is %2, not a serial device").arg(d.Device, what);
    return {text, text + u'.' + kChooseAnother};
}

} // namespace

TPortReason DescribeOpenFailure(const TPortDiagnosis &diagnosis)
{
    switch (diagnosis.Failure) {
    case TOpenFailure::NoSuchDevice:
        return Missing(diagnosis.Device);
    case TOpenFailure::InUse:
        return InUse(diagnosis);
    case TOpenFailure::PermissionDenied:
        return Refused(diagnosis);
    case TOpenFailure::NotASerialPort:
        return NotSerial(diagnosis);
    case TOpenFailure::None:
    case TOpenFailure::Other:
        break;
    }
    const QString text = QStringLiteral("%1 could not be opened").arg(diagnosis.Device);
    return {text, text + u'.' + kChooseAnother};
}

QString DeviceLabel(const QString &path, const QString &byIdFolder)
{
    const QString node = QFileInfo(path).canonicalFilePath();
    if (node.isEmpty())
        return path;
    const QDir byId(byIdFolder);
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (link.canonicalFilePath() == node)
            return QStringLiteral("%1 (%2)").arg(node, TSerialDeviceList::ReadableName(link.fileName()));
    }
    return path;
}
