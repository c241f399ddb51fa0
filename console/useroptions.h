#pragma once

#include <QString>

#include <optional>

// The choices of the additions beyond the designed window: one value each under
// Software\VELORAND\Options in the current user's store, never among the window's stored values.
namespace UserOptions {

QString Key();
// A "True" / "False" value; missing or anything else reads as off.
bool Flag(const QString &name);
// Throws TAppError with the store's reason when the value cannot be written.
void SetFlag(const QString &name, bool on);
// The text of a value; nothing when it is missing.
std::optional<QString> Text(const QString &name);
// Throws TAppError with the store's reason when the value cannot be written.
void SetText(const QString &name, const QString &text);

} // namespace UserOptions
