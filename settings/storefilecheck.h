#pragma once

#include <QString>

#include <optional>

// What the file system says about the store's file, in the words a user needs to mend it.
namespace StoreFileCheck {

// The file a path stands for after following its symbolic links; the path itself when it is no link.
QString FinalTarget(const QString &path);

// Why the file at path cannot be the store: it exists but is no regular file (a device, a named
// pipe, a socket, a folder), or its links form a loop. Nothing for a regular file or a missing one.
// Looks without opening: opening a named pipe would wait for a writer.
std::optional<QString> Refusal(const QString &path);

// Why a save of about `bytes` bytes to path fails, as the system words it ("Permission denied"),
// found by trying the steps of an atomic save in the file's folder without touching the file.
QString WhyNotWritten(const QString &path, qint64 bytes);

} // namespace StoreFileCheck
