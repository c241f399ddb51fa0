#pragma once

#include "apperror.h"

#include <QString>

// The message of the TAppError that a call raises, or "<no error>".
template <typename TCall>
QString ErrorOf(TCall call)
{
    try {
        call();
    } catch (const TAppError &error) {
        return error.Message();
    }
    return QStringLiteral("<no error>");
}
