#include "portdiagnosis.h"

#include <QDir>
#include <QFile>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

using TKind = TPortDiagnosis::TKind;
using TAccess = TPortDiagnosis::TAccess;

TKind KindOf(const struct stat &info)
{
    if (S_ISCHR(info.st_mode))
        return TKind::Device;
    if (S_ISREG(info.st_mode))
        return TKind::RegularFile;
    if (S_ISDIR(info.st_mode))
        return TKind::Folder;
    return TKind::Other;
}

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The first other process with an open descriptor on the file.
void FindHolder(TPortDiagnosis &diagnosis, const struct stat &device, const QString &procRoot)
{
    const QString self = QString::number(::getpid());
    const QDir proc(procRoot);
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        pid.toInt(&numeric);
        if (!numeric || pid == self)
            continue;
        const QString fds = proc.filePath(pid + QStringLiteral("/fd"));
        for (const QString &fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
            struct stat opened{};
            if (::stat(QFile::encodeName(fds + u'/' + fd).constData(), &opened) != 0 || !SameFile(opened, device))
                continue;
            QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
            comm.open(QIODevice::ReadOnly);
            diagnosis.HolderName = QString::fromLocal8Bit(comm.readAll().trimmed());
            diagnosis.HolderPid = pid.toInt();
            return;
        }
    }
}

bool InGroup(gid_t group)
{
    if (::getegid() == group)
        return true;
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(std::size_t(std::max(::getgroups(int(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

void ExplainRefusal(TPortDiagnosis &diagnosis, const struct stat &device)
{
    if (const group *owner = ::getgrgid(device.st_gid))
        diagnosis.Group = QString::fromLocal8Bit(owner->gr_name);
    const bool groupMayOpen = (device.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    const bool othersMayOpen = (device.st_mode & (S_IROTH | S_IWOTH)) == (S_IROTH | S_IWOTH);
    if (groupMayOpen && !InGroup(device.st_gid))
        diagnosis.Access = TAccess::NotInGroup;
    else if (device.st_uid == 0 && !groupMayOpen && !othersMayOpen)
        diagnosis.Access = TAccess::RootOnly;
}

} // namespace

TPortDiagnosis DiagnoseOpenFailure(TOpenFailure failure, const QString &device, const QString &procRoot)
{
    TPortDiagnosis diagnosis;
    diagnosis.Failure = failure;
    diagnosis.Device = device;
    struct stat info{};
    if (device.isEmpty() || ::stat(QFile::encodeName(device).constData(), &info) != 0)
        return diagnosis;
    diagnosis.Kind = KindOf(info);
    if (failure == TOpenFailure::InUse)
        FindHolder(diagnosis, info, procRoot);
    else if (failure == TOpenFailure::PermissionDenied)
        ExplainRefusal(diagnosis, info);
    return diagnosis;
}
