#pragma once

#include "parsedstore.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>
#include <optional>

// One pass over the store's INI file, seen as the registry sees its keys: names match in any case,
// and all spellings of a name in the file are one key. (QSettings matches case-sensitively, so a
// key typed by hand in another case would be a second key hiding the first.) A read finds a value
// under any spelling; where spellings disagree, the one set last in the file wins, as a reader
// going down the file would take it. A commit writes every key back under one spelling, the one
// standing first in the file, with every value kept. Levels are key names without separators.
// Lives only for the duration of one store operation; what it parsed is kept for the next one
// while the file stays unchanged (TParsedStore).
class TStoreFile
{
public:
    explicit TStoreFile(const QString &path);
    ~TStoreFile();

    // Why the file cannot be the store; then it is neither read nor written.
    std::optional<QString> Refusal() const { return m_refusal; }

    bool GroupExists(const QStringList &levels);
    // The names directly inside a key, each once, spelled as a commit keeps them.
    QStringList ChildKeys(const QStringList &levels);
    QStringList ChildGroups(const QStringList &levels);
    std::optional<QVariant> Value(const QStringList &levels, const QString &name);

    void SetValue(const QStringList &levels, const QString &name, const QVariant &value);
    // The key and everything below it, in every spelling.
    void RemoveGroup(const QStringList &levels);
    // The value in every spelling, but not a subkey that happens to have the same name.
    void RemoveValue(const QStringList &levels, const QString &name);

    // Writes the changes; false when they did not reach the disk, and then they are undone.
    bool Commit();
    // Why the last commit failed, as the system words it ("Permission denied").
    QString Error() const { return m_error; }

private:
    using TIndex = TStoreIndex;
    const TIndex &Index();
    std::unique_ptr<TIndex> BuildIndex();
    // Adds one exact path; false when one of its levels is spelled otherwise than the index keeps it.
    static bool Add(TIndex &index, const QString &path);
    int OrderOf(const QString &path) const;
    // Of the exact paths of one value, the one set last.
    QString Newest(const QStringList &spellings) const;
    QString Spelled(const QStringList &levels);
    QStringList Named(const QString &group, const QSet<QString> &names);
    void Fold();

    void RememberBeforeChange(const QString &path);
    void Set(const QString &path, const QVariant &value);
    void Remove(const QString &path);
    void RemoveValueOnly(const QString &path);
    // The paths of everything below path, relative to it.
    QStringList Below(const QString &path) const;
    void Undo();

    QString m_path;
    std::optional<QString> m_refusal;
    // Shared with the other passes on the same file; nothing when the file is refused.
    std::shared_ptr<TParsedStore> m_parsed;
    // Paths set by this pass: they are newer than anything in the file.
    QSet<QString> m_changed;
    // Values as they were before this pass changed them, oldest first; nothing = absent.
    QList<std::pair<QString, std::optional<QVariant>>> m_journal;
    QString m_error;
};
