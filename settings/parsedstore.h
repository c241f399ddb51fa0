#pragma once

#include <QHash>
#include <QSet>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

#include <sys/types.h>

// The names of a parsed store, matched in any case.
struct TStoreIndex
{
    // Lower-case path of every value -> the exact paths holding it.
    QHash<QString, QStringList> Spellings;
    // Lower-case path of every key and value -> the spelling of its last level to keep.
    QHash<QString, QString> Kept;
    // Lower-case key path -> lower-case names of the values and of the keys directly inside.
    QHash<QString, QSet<QString>> Values;
    QHash<QString, QSet<QString>> Groups;
};

// The store's file as QSettings holds it in memory, with what the store's operations derive from
// it. Every store call is an operation of its own, and parsing and indexing a file of 40,000
// values or of a 10 MB value takes long; so the last file parsed is kept from one operation to the
// next for as long as the file on disk stays the same: the same file (device and inode), size and
// change times to the nanosecond. A save by another program, which replaces the file, or a write
// in place is seen by the next operation, which parses the file again.
// Of a damaged file the readable part is used, and a copy of the file is kept beside it
// ("registry.ini.damaged") before anything replaces it.
// Single-threaded, as QSettings' shared in-memory copies are.
class TParsedStore
{
public:
    // The file at path, parsed: the kept parse when the file has not changed since.
    static std::shared_ptr<TParsedStore> Of(const QString &path);

    QSettings &Settings() { return *m_settings; }
    // After a save that reached the disk: the saved file is the one kept, its index and order
    // to be built again.
    void Saved();
    // After a save that failed: a QSettings object keeps its failure, so the next operation
    // parses anew.
    void Failed();

    // The index of the names in memory; nothing while out of date.
    std::unique_ptr<TStoreIndex> Index;
    // Where each exact path stands in the file; nothing until read.
    std::optional<QHash<QString, int>> Order;

private:
    struct TFileStamp
    {
        dev_t Device;
        ino_t Inode;
        off_t Size;
        qint64 Modified;   // nanoseconds
        qint64 Changed;
        bool operator==(const TFileStamp &) const = default;
    };
    static std::optional<TFileStamp> StampOf(const QString &path);

    TParsedStore(const QString &path, const std::optional<TFileStamp> &stamp);
    void KeepCopyOfDamagedFile();

    QString m_path;
    std::optional<TFileStamp> m_stamp;   // nothing: no file
    std::unique_ptr<QSettings> m_settings;
};
