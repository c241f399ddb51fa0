#pragma once

#include "userstore.h"

#include <QString>

#include <optional>

// Which device each of the names COM1..COM6 stands for, kept in the current user's store under
// Software\VELORAND\Ports (one text value per name). Unmapped names use /dev/ttyS0../dev/ttyS5.
// A name may also be mapped for this run only (the program's --port), ahead of the store; such
// a mapping lives in the process and is never written.
class TComPortMap
{
public:
    static constexpr int kPortCount = 6;
    static QString Key();

    // storePath: the store file; empty means the user's default store.
    explicit TComPortMap(const QString &storePath = QString());

    // True for "COM1".."COM6" exactly.
    [[nodiscard]] static bool IsPortName(const QString &comName);
    // "COM" followed by number (1..6).
    static QString PortName(int number);
    // /dev/ttyS0 for COM1 and so on; empty for a name that is not a port name.
    static QString DefaultPath(const QString &comName);

    // The path mapped for this run, else the stored path, else the default; empty for a name
    // that is not a port name.
    QString DevicePath(const QString &comName) const;
    // The stored path only.
    [[nodiscard]] std::optional<QString> StoredPath(const QString &comName) const;
    // False when the name is not a port name or the store could not be written (LastError says why).
    // Once stored, the path also ends a mapping of that name for this run.
    [[nodiscard]] bool Assign(const QString &comName, const QString &devicePath);
    QString LastError() const { return m_store.LastError(); }
    // Drops the stored path and a mapping for this run, so that the default applies again.
    [[nodiscard]] bool Forget(const QString &comName);

    // comName reaches devicePath until the program ends, or until Assign or Forget of that name,
    // whatever the store says; nothing is written. False for a name that is not a port name.
    [[nodiscard]] static bool MapForRun(const QString &comName, const QString &devicePath);
    static void ForgetRunMappings();

private:
    TUserStore m_store;
};
