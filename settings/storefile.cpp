#include "storefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

std::optional<QString> FindName(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return std::nullopt;
}

} // namespace

TStoreFile::TStoreFile(const QString &path)
    : m_path(path)
    , m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    // Qt parses sections lazily and keeps what it can of a damaged file, dropping the rest at the
    // next write. Parse everything now so the damage shows before anything is written.
    m_settings->allKeys();
    if (m_settings->status() == QSettings::FormatError) {
        KeepCopyOfDamagedFile();
        // A QSettings status never returns to NoError; a fresh object (sharing Qt's parsed copy of
        // the file) is needed so that a later write failure can still be seen.
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }
}

void TStoreFile::KeepCopyOfDamagedFile()
{
    const QString copy = m_path + QStringLiteral(".damaged");
    QFile::remove(copy);
    QFile::copy(m_path, copy);
}

std::optional<QString> TStoreFile::FindGroup(const QStringList &levels)
{
    QString group;
    for (const QString &level : levels) {
        const std::optional<QString> stored = FindName(ChildGroups(group), level);
        if (!stored)
            return std::nullopt;
        group = PathOf(group, *stored);
    }
    return group;
}

QString TStoreFile::GroupFor(const QStringList &levels)
{
    QString group;
    bool exists = true;
    for (const QString &level : levels) {
        std::optional<QString> stored;
        if (exists)
            stored = FindName(ChildGroups(group), level);
        exists = stored.has_value();
        group = PathOf(group, stored.value_or(level));
    }
    return group;
}

std::optional<QString> TStoreFile::FindValue(const QString &group, const QString &name)
{
    const std::optional<QString> stored = FindName(ChildKeys(group), name);
    if (!stored)
        return std::nullopt;
    return PathOf(group, *stored);
}

QStringList TStoreFile::ChildKeys(const QString &group)
{
    m_settings->beginGroup(group);
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

QStringList TStoreFile::ChildGroups(const QString &group)
{
    m_settings->beginGroup(group);
    const QStringList groups = m_settings->childGroups();
    m_settings->endGroup();
    return groups;
}

bool TStoreFile::HasAnything(const QString &group)
{
    return !ChildKeys(group).isEmpty() || !ChildGroups(group).isEmpty();
}

void TStoreFile::SetValue(const QString &path, const QVariant &value)
{
    RememberBeforeChange(path);
    m_settings->setValue(path, value);
}

void TStoreFile::Remove(const QString &path)
{
    m_settings->beginGroup(path);
    const QStringList below = m_settings->allKeys();
    m_settings->endGroup();
    for (const QString &name : below)
        RememberBeforeChange(PathOf(path, name));
    RememberBeforeChange(path);
    m_settings->remove(path);
}

void TStoreFile::RememberBeforeChange(const QString &path)
{
    std::optional<QVariant> before;
    if (m_settings->contains(path))
        before = m_settings->value(path);
    m_journal.append({path, before});
}

bool TStoreFile::Commit()
{
    // QSettings creates the file but not its folder.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings->sync();
    const bool written = m_settings->status() == QSettings::NoError;
    if (!written)
        Undo();
    m_journal.clear();
    return written;
}

void TStoreFile::Undo()
{
    // Every QSettings object on this file shares one in-memory copy, which keeps a failed change
    // as if it had been made; put the old values back so that later reads agree with the disk.
    for (auto entry = m_journal.crbegin(); entry != m_journal.crend(); ++entry) {
        const auto &[path, before] = *entry;
        if (before)
            m_settings->setValue(path, *before);
        else
            m_settings->remove(path);
    }
}

void TStoreFile::RemoveValueOnly(const QString &path)
{
    // QSettings::remove() drops everything below the name as well.
    m_settings->beginGroup(path);
    const QStringList below = m_settings->allKeys();
    m_settings->endGroup();
    QList<std::pair<QString, QVariant>> kept;
    for (const QString &name : below)
        kept.append({PathOf(path, name), m_settings->value(PathOf(path, name))});
    Remove(path);
    for (const auto &[name, value] : kept)
        SetValue(name, value);
}

QString TStoreFile::PathOf(const QString &group, const QString &name)
{
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}
