#include "parsedstore.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace {

std::shared_ptr<TParsedStore> &KeptStore()
{
    static std::shared_ptr<TParsedStore> kept;
    return kept;
}

bool g_forgetAtExit = false;

// A QSettings object must not outlive the application.
void ForgetKeptStore()
{
    KeptStore().reset();
    g_forgetAtExit = false;
}

qint64 Nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

std::shared_ptr<TParsedStore> TParsedStore::Of(const QString &path)
{
    std::shared_ptr<TParsedStore> &kept = KeptStore();
    const std::optional<TFileStamp> stamp = StampOf(path);
    if (kept && kept->m_path == path && kept->m_stamp == stamp)
        return kept;
    // Let go of the old parse first, so that it is not held in memory beside the new one.
    kept.reset();
    if (!g_forgetAtExit && QCoreApplication::instance()) {
        qAddPostRoutine(ForgetKeptStore);
        g_forgetAtExit = true;
    }
    kept = std::shared_ptr<TParsedStore>(new TParsedStore(path, stamp));
    return kept;
}

TParsedStore::TParsedStore(const QString &path, const std::optional<TFileStamp> &stamp)
    : m_path(path)
    , m_stamp(stamp)
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

void TParsedStore::KeepCopyOfDamagedFile()
{
    const QString copy = m_path + QStringLiteral(".damaged");
    QFile::remove(copy);
    QFile::copy(m_path, copy);
}

std::optional<TParsedStore::TFileStamp> TParsedStore::StampOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return TFileStamp{status.st_dev, status.st_ino, status.st_size, Nanoseconds(status.st_mtim),
                      Nanoseconds(status.st_ctim)};
}

void TParsedStore::Saved()
{
    m_stamp = StampOf(m_path);
    Index.reset();
    Order.reset();
}

void TParsedStore::Failed()
{
    Index.reset();
    if (KeptStore().get() == this)
        KeptStore().reset();
}
