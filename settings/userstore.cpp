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

void KeepKeyAlive(TStoreFile &file, const QStringList &levels)
{
    if (!levels.isEmpty() && file.ChildKeys(levels).isEmpty() && file.ChildGroups(levels).isEmpty())
        file.SetValue(levels, kKeyMarker, QString());
}

using TChildList = QStringList (TStoreFile::*)(const QStringList &levels);

QStringList ListBelow(const QString &path, const QString &key, TChildList list)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels)
        return {};
    TStoreFile file(path);
    return file.GroupExists(*levels) ? ValidNamesOnly((file.*list)(*levels)) : QStringList();
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

std::optional<QString> TUserStore::Refusal() const
{
    const std::optional<QString> refusal = TStoreFile(m_path).Refusal();
    if (!refusal)
        return std::nullopt;
    return m_path + QStringLiteral(": ") + *refusal;
}

bool TUserStore::Commit(TStoreFile &file)
{
    if (file.Commit()) {
        m_lastError.clear();
        return true;
    }
    m_lastError = m_path + QStringLiteral(": ") + file.Error();
    return false;
}

bool TUserStore::KeyExists(const QString &key) const
{
    const std::optional<QStringList> levels = SplitKey(key);
    return levels && TStoreFile(m_path).GroupExists(*levels);
}

bool TUserStore::CreateKey(const QString &key)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels)
        return false;
    TStoreFile file(m_path);
    // Opening an existing key writes nothing, so it works on a full disk too.
    if (file.GroupExists(*levels))
        return true;
    KeepKeyAlive(file, *levels);
    return Commit(file);
}

bool TUserStore::DeleteKey(const QString &key)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels || levels->isEmpty())
        return false;
    TStoreFile file(m_path);
    if (!file.GroupExists(*levels))
        return true;
    file.RemoveGroup(*levels);
    KeepKeyAlive(file, levels->mid(0, levels->size() - 1));
    return Commit(file);
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
    const std::optional<QVariant> value = TStoreFile(m_path).Value(*levels, name);
    if (!value)
        return {TValueType::Missing, QString()};
    // QSettings splits a text typed by hand at its commas; "NormPos=1,2,3,4" means the text.
    if (value->typeId() == QMetaType::QStringList)
        return {TValueType::Text, UpToFirstNul(value->toStringList().join(QLatin1Char(',')))};
    // Anything else QSettings does not hand back as a plain string (an @Variant, a number type)
    // is not a text to the callers.
    if (value->typeId() != QMetaType::QString)
        return {TValueType::NotText, QString()};
    return {TValueType::Text, UpToFirstNul(value->toString())};
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
    for (const auto &[name, value] : values)
        file.SetValue(*levels, name, UpToFirstNul(value));
    return Commit(file);
}

bool TUserStore::DeleteValue(const QString &key, const QString &name)
{
    const std::optional<QStringList> levels = SplitKey(key);
    if (!levels || !IsValidName(name))
        return false;
    TStoreFile file(m_path);
    if (!file.Value(*levels, name))
        return true;
    file.RemoveValue(*levels, name);
    KeepKeyAlive(file, *levels);
    return Commit(file);
}
