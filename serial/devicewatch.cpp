#include "devicewatch.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

// Links are followed this deep; a loop of links ends here.
constexpr int kMaxLinks = 8;

QString NearestExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

} // namespace

TDeviceWatch::TDeviceWatch(QObject *parent)
    : QObject(parent)
{
}

QStringList TDeviceWatch::FoldersFor(const QString &path)
{
    QStringList folders;
    QString step = path;
    for (int link = 0; link < kMaxLinks && !step.isEmpty(); ++link) {
        const QFileInfo info(step);
        const QString folder = NearestExistingFolder(info.absolutePath());
        if (!folders.contains(folder))
            folders << folder;
        if (!info.isSymLink())
            break;
        step = info.symLinkTarget();
    }
    return folders;
}

void TDeviceWatch::Watch(const QString &path)
{
    Stop();
    m_path = path;
    // A watcher of its own per watch: its inotify descriptor goes with it when the watch ends.
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TDeviceWatch::FolderChanged);
    Rewatch();
}

void TDeviceWatch::Stop()
{
    m_path.clear();
    // Stop may run inside the watcher's own notice.
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->deleteLater();
    }
    m_watcher = nullptr;
}

void TDeviceWatch::Rewatch()
{
    const QStringList wanted = FoldersFor(m_path);
    const QStringList watched = m_watcher->directories();
    for (const QString &folder : watched) {
        if (!wanted.contains(folder))
            m_watcher->removePath(folder);
    }
    for (const QString &folder : wanted) {
        if (!watched.contains(folder))
            m_watcher->addPath(folder);
    }
}

void TDeviceWatch::FolderChanged()
{
    if (!IsWatching())
        return;
    // A folder on the way may have appeared, or a link may point somewhere new.
    Rewatch();
    if (QFileInfo::exists(m_path) && OnPresent)
        OnPresent();
}
