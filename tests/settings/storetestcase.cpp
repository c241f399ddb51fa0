#include "storetestcase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool TStoreTestCase::WriteStoreFile(const QByteArray &content, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString TStoreTestCase::UnwritableStoreFile(const QByteArray &content) const
{
    const QString path = Home() + QLatin1Char('/') + QString(249, QLatin1Char('r'));
    return WriteStoreFile(content, path) ? path : QString();
}
