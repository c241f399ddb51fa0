#pragma once

#include "serialplatform.h"

// What an errno value means to the serial layer: the status of a call on an open port and the
// reason an open failed.
struct TPosixError {
    TSerialStatus Status;
    TOpenFailure Failure;
};

TPosixError ClassifyErrno(int error);
