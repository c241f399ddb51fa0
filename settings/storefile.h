#pragma once

#include <QList>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

// One pass over the store's INI file: finds the spelling that key and value names already have
// (QSettings matches names case-sensitively, the store must not), and commits writes to disk.
// Lives only for the duration of one store operation.
class TStoreFile
{
public:
    explicit TStoreFile(const QString &path);

    // The group path of an existing key, with each level spelled as stored; nothing when a level
    // is missing.
    std::optional<QString> FindGroup(const QStringList &levels);
    // As FindGroup, but missing levels are spelled as given (the key is not written yet).
    QString GroupFor(const QStringList &levels);
    // The stored spelling of a value name in a group, or nothing.
    std::optional<QString> FindValue(const QString &group, const QString &name);

    QStringList ChildKeys(const QString &group);
    QStringList ChildGroups(const QString &group);
    bool HasAnything(const QString &group);
    // Removes one value but not a subkey that happens to have the same name.
    void RemoveValueOnly(const QString &path);
    static QString PathOf(const QString &group, const QString &name);

    QVariant Value(const QString &path) const { return m_settings->value(path); }
    void SetValue(const QString &path, const QVariant &value);
    // Removes the name and everything below it.
    void Remove(const QString &path);

    // Flushes the changes; false when they did not reach the disk, and then they are undone.
    bool Commit();

private:
    void KeepCopyOfDamagedFile();
    void RememberBeforeChange(const QString &path);
    void Undo();

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    // Values as they were before this pass changed them, oldest first; nothing = absent.
    QList<std::pair<QString, std::optional<QVariant>>> m_journal;
};
