#include "posixerror.h"

#include <cerrno>

TPosixError ClassifyErrno(int error)
{
    switch (error) {
    case 0:
        return {TSerialStatus::Ok, TOpenFailure::None};
    case EAGAIN:   // also EWOULDBLOCK, which flock gives for a port locked by another program
        return {TSerialStatus::WouldBlock, TOpenFailure::InUse};
    case EBUSY:    // TIOCEXCL held by another program
        return {TSerialStatus::Failed, TOpenFailure::InUse};
    case EIO:      // hung up or unplugged
    case ENXIO:
    case ENODEV:
        return {TSerialStatus::Gone, TOpenFailure::NoSuchDevice};
    case ENOENT:
    case ENOTDIR:
        return {TSerialStatus::Failed, TOpenFailure::NoSuchDevice};
    case EACCES:   // typically not in the dialout group
    case EPERM:
    case EROFS:
        return {TSerialStatus::Failed, TOpenFailure::PermissionDenied};
    case ENOTTY:
    case EISDIR:   // a folder where the device should be
        return {TSerialStatus::Failed, TOpenFailure::NotASerialPort};
    default:
        return {TSerialStatus::Failed, TOpenFailure::Other};
    }
}

TSerialStatus ClassifyWaitErrno(int error)
{
    // The kernel's "no such ioctl" code, which some drivers let through.
    constexpr int kNoIoctlCommand = 515;
    switch (error) {
    case EINTR:
        return TSerialStatus::WouldBlock;
    case EINVAL:
    case ENOTTY:
    case kNoIoctlCommand:
        return TSerialStatus::Unsupported;
    default:
        return ClassifyErrno(error).Status;
    }
}
