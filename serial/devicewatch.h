#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;

// Tells when a device path may have come back, from the file system's change notices (inotify):
// no polling, no cost while nothing happens. It watches the folder that holds the path and,
// where the path is a link (a /dev/serial/by-id name, a socat link), the folders along the link
// to the device node, so a node, a link or a link's target appearing all count. A folder that
// does not exist yet is stood for by its nearest existing parent.
class TDeviceWatch : public QObject
{
    Q_OBJECT
public:
    explicit TDeviceWatch(QObject *parent = nullptr);

    void Watch(const QString &path);
    void Stop();
    bool IsWatching() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }

    // The folders whose changes may bring path back.
    static QStringList FoldersFor(const QString &path);

    // Called after each change in a watched folder while the path exists (it may not open yet).
    std::function<void()> OnPresent;

private:
    void FolderChanged();
    void Rewatch();

    QFileSystemWatcher *m_watcher = nullptr;
    QString m_path;
};
