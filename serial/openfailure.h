#pragma once

// Why the last OpenPort failed, for the window to explain; OpenPort itself only says yes or no.
enum class TOpenFailure { None, NoSuchDevice, InUse, PermissionDenied, NotASerialPort, Other };
