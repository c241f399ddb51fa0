#include "storefile.h"

#include "inilineorder.h"
#include "storefilecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

// Set by this pass: newer than every line of the file.
constexpr int kChangedNow = std::numeric_limits<int>::max();
// In memory but not found in the file by line: newer than the file, older than this pass.
constexpr int kNotInFile = kChangedNow - 1;
// Room for what a save adds, when guessing how much it writes.
constexpr qint64 kGrowthAllowance = 4096;

QString PathOf(const QString &group, const QString &name)
{
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

QString Lower(const QStringList &levels)
{
    return levels.join(QLatin1Char('/')).toLower();
}

QStringList With(QStringList levels, const QString &name)
{
    levels.append(name);
    return levels;
}

} // namespace

TStoreFile::TStoreFile(const QString &path)
    : m_path(path)
    , m_refusal(StoreFileCheck::Refusal(path))
{
    if (!m_refusal)
        m_parsed = TParsedStore::Of(path);
}

TStoreFile::~TStoreFile() = default;

const TStoreFile::TIndex &TStoreFile::Index()
{
    if (!m_parsed) {
        static const TIndex kNothing;
        return kNothing;
    }
    if (!m_parsed->Index)
        m_parsed->Index = BuildIndex();
    return *m_parsed->Index;
}

std::unique_ptr<TStoreFile::TIndex> TStoreFile::BuildIndex()
{
    auto index = std::make_unique<TIndex>();
    const QStringList keys = m_parsed->Settings().allKeys();
    bool twoSpellings = false;
    for (const QString &key : keys)
        twoSpellings |= !Add(*index, key);
    if (!twoSpellings)
        return index;
    // Only now is the order of the lines worth reading the file again for.
    if (!m_parsed->Order) {
        QFile file(m_path);
        m_parsed->Order = file.open(QIODevice::ReadOnly) ? IniLineOrder(file.readAll()) : QHash<QString, int>();
    }
    QHash<QString, int> keptOrder;
    for (const QString &key : keys) {
        const int order = OrderOf(key);
        QString lowerPath;
        for (const QString &level : key.split(QLatin1Char('/'))) {
            lowerPath = PathOf(lowerPath, level.toLower());
            const auto found = keptOrder.constFind(lowerPath);
            if (found == keptOrder.cend() || order < *found) {
                keptOrder.insert(lowerPath, order);
                index->Kept.insert(lowerPath, level);
            }
        }
    }
    return index;
}

bool TStoreFile::Add(TIndex &index, const QString &path)
{
    QStringList &spellings = index.Spellings[path.toLower()];
    if (spellings.contains(path))
        return true;
    spellings.append(path);
    const QStringList levels = path.split(QLatin1Char('/'));
    QString lowerPath;
    bool spelledAsKept = true;
    for (qsizetype i = 0; i < levels.size(); ++i) {
        const QString lowerLevel = levels[i].toLower();
        (i + 1 < levels.size() ? index.Groups : index.Values)[lowerPath].insert(lowerLevel);
        lowerPath = PathOf(lowerPath, lowerLevel);
        const auto kept = index.Kept.constFind(lowerPath);
        if (kept == index.Kept.cend())
            index.Kept.insert(lowerPath, levels[i]);
        else if (*kept != levels[i])
            spelledAsKept = false;
    }
    return spelledAsKept;
}

int TStoreFile::OrderOf(const QString &path) const
{
    if (m_changed.contains(path))
        return kChangedNow;
    return m_parsed && m_parsed->Order ? m_parsed->Order->value(path, kNotInFile) : kNotInFile;
}

QString TStoreFile::Spelled(const QStringList &levels)
{
    const TIndex &index = Index();
    QString lowerPath;
    QString spelled;
    for (const QString &level : levels) {
        lowerPath = PathOf(lowerPath, level.toLower());
        spelled = PathOf(spelled, index.Kept.value(lowerPath, level));
    }
    return spelled;
}

QStringList TStoreFile::Named(const QString &group, const QSet<QString> &names)
{
    QStringList named;
    for (const QString &name : names)
        named.append(Index().Kept.value(PathOf(group, name)));
    named.sort();
    return named;
}

bool TStoreFile::GroupExists(const QStringList &levels)
{
    const QString lower = Lower(levels);
    return levels.isEmpty() || Index().Values.contains(lower) || Index().Groups.contains(lower);
}

QStringList TStoreFile::ChildKeys(const QStringList &levels)
{
    const QString lower = Lower(levels);
    return Named(lower, Index().Values.value(lower));
}

QStringList TStoreFile::ChildGroups(const QStringList &levels)
{
    const QString lower = Lower(levels);
    return Named(lower, Index().Groups.value(lower));
}

std::optional<QVariant> TStoreFile::Value(const QStringList &levels, const QString &name)
{
    const QStringList spellings = Index().Spellings.value(Lower(With(levels, name)));
    if (spellings.isEmpty())
        return std::nullopt;
    return m_parsed->Settings().value(Newest(spellings));
}

QString TStoreFile::Newest(const QStringList &spellings) const
{
    return *std::max_element(spellings.cbegin(), spellings.cend(),
        [this](const QString &a, const QString &b) { return OrderOf(a) < OrderOf(b); });
}

void TStoreFile::SetValue(const QStringList &levels, const QString &name, const QVariant &value)
{
    Set(Spelled(With(levels, name)), value);
}

void TStoreFile::RemoveGroup(const QStringList &levels)
{
    if (levels.isEmpty())
        return;
    const QString below = Lower(levels) + QLatin1Char('/');
    QSet<QString> spellings;
    for (auto it = Index().Spellings.cbegin(); it != Index().Spellings.cend(); ++it) {
        if (!it.key().startsWith(below))
            continue;
        for (const QString &path : it.value())
            spellings.insert(path.section(QLatin1Char('/'), 0, int(levels.size()) - 1));
    }
    for (const QString &path : spellings)
        Remove(path);
}

void TStoreFile::RemoveValue(const QStringList &levels, const QString &name)
{
    const QStringList spellings = Index().Spellings.value(Lower(With(levels, name)));
    for (const QString &path : spellings)
        RemoveValueOnly(path);
}

void TStoreFile::Fold()
{
    struct TMove
    {
        QStringList From;
        QString To;
        QVariant Value;
    };
    QList<TMove> moves;
    const TIndex &index = Index();
    for (auto it = index.Spellings.cbegin(); it != index.Spellings.cend(); ++it) {
        const QString to = Spelled(it.key().split(QLatin1Char('/')));
        if (it.value() != QStringList{to})
            moves.append({it.value(), to, m_parsed->Settings().value(Newest(it.value()))});
    }
    // Everything below a spelling that goes is itself spelled so and moves too: read all first.
    for (const TMove &move : moves) {
        for (const QString &from : move.From) {
            if (from != move.To)
                Remove(from);
        }
    }
    for (const TMove &move : moves)
        Set(move.To, move.Value);
}

void TStoreFile::Set(const QString &path, const QVariant &value)
{
    if (!m_parsed)
        return;
    RememberBeforeChange(path);
    m_parsed->Settings().setValue(path, value);
    m_changed.insert(path);
    // Set spells every level as the index keeps it, so the index stays true without a rebuild.
    if (m_parsed->Index)
        Add(*m_parsed->Index, path);
}

void TStoreFile::Remove(const QString &path)
{
    if (!m_parsed)
        return;
    for (const QString &name : Below(path))
        RememberBeforeChange(PathOf(path, name));
    RememberBeforeChange(path);
    m_parsed->Settings().remove(path);
    m_parsed->Index.reset();
}

void TStoreFile::RemoveValueOnly(const QString &path)
{
    if (!m_parsed)
        return;
    // QSettings::remove() drops everything below the name as well.
    QList<std::pair<QString, QVariant>> kept;
    for (const QString &name : Below(path))
        kept.append({PathOf(path, name), m_parsed->Settings().value(PathOf(path, name))});
    Remove(path);
    for (const auto &[name, value] : kept)
        Set(name, value);
}

QStringList TStoreFile::Below(const QString &path) const
{
    QSettings &settings = m_parsed->Settings();
    settings.beginGroup(path);
    const QStringList below = settings.allKeys();
    settings.endGroup();
    return below;
}

void TStoreFile::RememberBeforeChange(const QString &path)
{
    std::optional<QVariant> before;
    if (m_parsed->Settings().contains(path))
        before = m_parsed->Settings().value(path);
    m_journal.append({path, before});
}

bool TStoreFile::Commit()
{
    m_error.clear();
    if (m_refusal) {
        m_error = *m_refusal;
        return false;
    }
    Fold();
    // QSettings creates the file but not its folder.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_parsed->Settings().sync();
    const bool written = m_parsed->Settings().status() == QSettings::NoError;
    if (written) {
        m_parsed->Saved();
    } else {
        Undo();
        m_parsed->Failed();
        m_error = StoreFileCheck::WhyNotWritten(m_path, QFileInfo(m_path).size() + kGrowthAllowance);
    }
    m_journal.clear();
    m_changed.clear();
    return written;
}

void TStoreFile::Undo()
{
    // Every QSettings object on this file shares one in-memory copy, which keeps a failed change
    // as if it had been made; put the old values back so that later reads agree with the disk.
    for (auto entry = m_journal.crbegin(); entry != m_journal.crend(); ++entry) {
        const auto &[path, before] = *entry;
        if (before)
            m_parsed->Settings().setValue(path, *before);
        else
            m_parsed->Settings().remove(path);
    }
}
