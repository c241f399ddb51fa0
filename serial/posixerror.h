#pragma once

#include "serialplatform.h"

// What an errno value means to the serial layer: the status of a call on an open port and the
// reason an open failed.
struct TPosixError {
    TSerialStatus Status;
    TOpenFailure Failure;
};

TPosixError ClassifyErrno(int error);

// What an errno value means for a wait on a line change: a signal ends the wait without a change
// (WouldBlock); a driver without the wait says so in several ways (Unsupported).
TSerialStatus ClassifyWaitErrno(int error);
