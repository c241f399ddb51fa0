#include "fileerror.h"

#include <cerrno>

QString FileErrorText(int errnum, TFileOperation operation)
{
    switch (errnum) {
    case ENOENT:
        // Creating a file fails this way only when a folder on its path is missing.
        return operation == TFileOperation::Create ? QStringLiteral("Invalid filename")
                                                   : QStringLiteral("File not found");
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case EWOULDBLOCK:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(errnum);
    }
}

TAppError FileError(int errnum, TFileOperation operation)
{
    return TAppError(FileErrorText(errnum, operation));
}
