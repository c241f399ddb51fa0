#pragma once

#include "openfailure.h"

#include <QString>

#include <sys/types.h>

// What the system says about a device that would not open, beyond the reason the open gave:
// which program holds it, which group may open it, what kind of file it is.
struct TPortDiagnosis
{
    enum class TKind { Missing, Device, RegularFile, Folder, Other };
    enum class TAccess { Unknown, NotInGroup, RootOnly };

    TOpenFailure Failure = TOpenFailure::None;
    QString Device;
    TKind Kind = TKind::Missing;
    // For a device in use: a program that has it open (empty when none can be found).
    QString HolderName;
    pid_t HolderPid = 0;
    // For a refused device: why, and the group that owns it.
    TAccess Access = TAccess::Unknown;
    QString Group;
};

// Looks the device up after an open failed for failure. procRoot: where the process table is
// mounted; tests may point it elsewhere. This process never counts as a holder.
TPortDiagnosis DiagnoseOpenFailure(TOpenFailure failure, const QString &device,
                                   const QString &procRoot = QStringLiteral("/proc"));
