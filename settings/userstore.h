#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class TStoreFile;

// The current user's store of keys and named text values, standing in for the registry's
// current-user hive. Key paths use backslashes ("Software\VELORAND\Macro1"). Key and value names
// match case-insensitively and keep the case they were first written in. One character of a text
// is one byte (U+0001..U+00FF); texts read back unchanged.
//
// Every call reads or writes the file at once, so two objects on the same file see each other's
// writes; a read parses the file again only when it has changed since the last call. Failures are reported by return values and LastError(); nothing throws. A missing file
// reads as an empty store; of a damaged file the readable part is used, and a copy of it is kept
// beside it ("registry.ini.damaged") before the first write replaces it. A path that is no regular
// file (a device, a named pipe) is never opened: it reads as an empty store and refuses writes.
// A symbolic link to a regular file is followed and kept. Names that are empty or hold a slash, a
// backslash or a control character are refused (writes fail, reads find nothing).
class TUserStore
{
public:
    // filePath: the INI file to use; empty means DefaultPath().
    explicit TUserStore(const QString &filePath = QString());

    // $XDG_CONFIG_HOME/velorand/registry.ini (default ~/.config/velorand/registry.ini).
    static QString DefaultPath();
    QString FilePath() const { return m_path; }
    // "<path>: <why>" when the file cannot be the store at all; nothing when it can.
    [[nodiscard]] std::optional<QString> Refusal() const;
    // "<path>: <why>" for the last write of this object that failed ("Permission denied").
    QString LastError() const { return m_lastError; }

    enum class TValueType { Missing, Text, NotText };

    [[nodiscard]] bool KeyExists(const QString &key) const;
    // Creates the key and its parents if needed. False when the store cannot be written.
    [[nodiscard]] bool CreateKey(const QString &key);
    [[nodiscard]] bool DeleteKey(const QString &key);   // with everything below it; true if gone afterwards
    QStringList ValueNames(const QString &key) const;
    QStringList SubKeys(const QString &key) const;

    TValueType ValueType(const QString &key, const QString &name) const;
    // The text, or nothing when the value is missing or not a plain text. A list typed by hand
    // without quotes (a, b) is the text it stood for, its parts joined by commas ("a,b").
    [[nodiscard]] std::optional<QString> ReadText(const QString &key, const QString &name) const;
    // Creates the key if needed. False when the write did not reach the disk.
    [[nodiscard]] bool WriteText(const QString &key, const QString &name, const QString &value);
    // Several values in one write to the disk: all of them or, on false, none.
    [[nodiscard]] bool WriteTexts(const QString &key, const QList<std::pair<QString, QString>> &values);
    [[nodiscard]] bool DeleteValue(const QString &key, const QString &name);

private:
    std::pair<TValueType, QString> Read(const QString &key, const QString &name) const;
    [[nodiscard]] bool Commit(TStoreFile &file);

    QString m_path;
    QString m_lastError;
};
