#pragma once

#include "apperror.h"

// What the program was doing with a file when the system refused.
enum class TFileOperation { Open, Create, Write, Close };

// The user-visible text for a failed file call: the one place where errno becomes a message.
QString FileErrorText(int errnum, TFileOperation operation);

// The error that ends the handler, carrying FileErrorText.
TAppError FileError(int errnum, TFileOperation operation);
