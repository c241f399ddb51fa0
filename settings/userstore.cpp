#include "userstore.h"

#include "storefile.h"

#include <QDir>

#include <algorithm>

namespace {

// INI has no empty sections: a key with nothing in it is kept alive by this value. Its control
// character makes it a name that no caller can pass in, so it stays invisible.
const QString kKeyMarker = QStringLiteral("\x01") + QStringLiteral("key");

// QSettings takes both slashes as level separators, and names with control characters cannot be
// typed in the file by hand; the store refuses such names instead of mangling them.
bool IsValidName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

std::optional<QStringList> SplitKey(const QString &key)
{
    const QStringList levels = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &level : levels) {
        if (!IsValidName(level))
            return std::nullopt;
    }
    return levels;
}

QStringList ValidNamesOnly(QStringList names)
{
    names.removeIf([](const QString &name) { return !IsValidName(name); });
    return names;
}

// A registry reader cuts a text at its first zero byte.
QString UpToFirstNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString ParentGroup(const QString &group)
{
    const qsizetype slash = group.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : group.left(slash);
}

void KeepKeyAlive(TStoreFile &file, const QString &group)
{
    if (!group.isEmpty() && !file.HasAnything(group))
        file.SetValue(TStoreFile::PathOf(group, kKeyMarker), QString());
}

using TChildList = QStringList (TStoreFile::*)(const QString &group);

QStringList ListBelow(const QString &path, const QString &key, TChildList list)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels)
        return {};
    TStoreFile file(path);
    const std::optional<QString> group = file.FindGroup(*levels);
    return group ? ValidNamesOnly((file.*list)(*group)) : QStringList();
}

} // namespace

TUserStore::TUserStore(const QString &filePath)
    : m_path(filePath.isEmpty() ? DefaultPath() : filePath)
{
}

QString TUserStore::DefaultPath()
{
    // Read directly: QStandardPaths' test mode would ignore XDG_CONFIG_HOME.
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(home))
        home = QDir::homePath() + QStringLiteral("/.config");
    return home + QStringLiteral("/velorand/registry.ini");
}

bool TUserStore::KeyExists(const QString &key) const
{
    const std::optional<QStringList> levels = SplitKey(key);
    return levels && TStoreFile(m_path).FindGroup(*levels).has_value();
}

bool TUserStore::CreateKey(const QString &key)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels)
        return false;
    TStoreFile file(m_path);
    // Opening an existing key writes nothing, so it works on a full disk too.
    if (file.FindGroup(*levels))
        return true;
    KeepKeyAlive(file, file.GroupFor(*levels));
    return file.Commit();
}

bool TUserStore::DeleteKey(const QString &key)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels || levels->isEmpty())
        return false;
    TStoreFile file(m_path);
    const std::optional<QString> group = file.FindGroup(*levels);
    if (!group)
        return true;
    file.Remove(*group);
    KeepKeyAlive(file, ParentGroup(*group));
    return file.Commit();
}

QStringList TUserStore::ValueNames(const QString &key) const
{
    return ListBelow(m_path, key, &TStoreFile::ChildKeys);
}

QStringList TUserStore::SubKeys(const QString &key) const
{
    return ListBelow(m_path, key, &TStoreFile::ChildGroups);
}

TUserStore::TValueType TUserStore::ValueType(const QString &key, const QString &name) const
{
    return Read(key, name).first;
}

std::optional<QString> TUserStore::ReadText(const QString &key, const QString &name) const
{
    const auto [type, text] = Read(key, name);
    if (type != TValueType::Text)
        return std::nullopt;
    return text;
}

std::pair<TUserStore::TValueType, QString> TUserStore::Read(const QString &key,
                                                            const QString &name) const
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels || !IsValidName(name))
        return {TValueType::Missing, QString()};
    TStoreFile file(m_path);
    const std::optional<QString> group = file.FindGroup(*levels);
    const std::optional<QString> path = group ? file.FindValue(*group, name) : std::nullopt;
    if (!path)
        return {TValueType::Missing, QString()};
    // Anything QSettings does not hand back as a plain string (a list typed by hand, an
    // @Variant, a number type) is not a text to the callers.
    const QVariant value = file.Value(*path);
    if (value.typeId() != QMetaType::QString)
        return {TValueType::NotText, QString()};
    return {TValueType::Text, UpToFirstNul(value.toString())};
}

bool TUserStore::WriteText(const QString &key, const QString &name, const QString &value)
{
    return WriteTexts(key, {{name, value}});
}

bool TUserStore::WriteTexts(const QString &key, const QList<std::pair<QString, QString>> &values)
{
    const std::optional<QStringList> levels = SplitKey(key);
    const bool namesValid = std::all_of(values.cbegin(), values.cend(),
                                        [](const auto &value) { return IsValidName(value.first); });
    if (!levels || !namesValid)
        return false;
    TStoreFile file(m_path);
    const QString group = file.GroupFor(*levels);
    for (const auto &[name, value] : values) {
        const QString path = file.FindValue(group, name).value_or(TStoreFile::PathOf(group, name));
        file.SetValue(path, UpToFirstNul(value));
    }
    return file.Commit();
}

bool TUserStore::DeleteValue(const QString &key, const QString &name)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels || !IsValidName(name))
        return false;
    TStoreFile file(m_path);
    const std::optional<QString> group = file.FindGroup(*levels);
    const std::optional<QString> path = group ? file.FindValue(*group, name) : std::nullopt;
    if (!path)
        return true;
    file.RemoveValueOnly(*path);
    KeepKeyAlive(file, *group);
    return file.Commit();
}
