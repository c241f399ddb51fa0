#pragma once

#include "tempconfighome.h"
#include "userstore.h"

#include <QObject>

#include <memory>

// Base of the store tests: every test function runs against a fresh, empty configuration folder.
class TStoreTestCase : public QObject
{
    Q_OBJECT

protected:
    QString Home() const { return m_home->Path(); }
    // Writes a store file by hand, as a user with an editor would.
    static bool WriteStoreFile(const QByteArray &content, const QString &path = TUserStore::DefaultPath());
    // A store file, written by hand, that no write reaches, also for root: its name leaves no
    // room for the temporary file of an atomic save.
    QString UnwritableStoreFile(const QByteArray &content) const;

private slots:
    void init() { m_home = std::make_unique<TTempConfigHome>(); }
    void cleanup() { m_home.reset(); }

private:
    std::unique_ptr<TTempConfigHome> m_home;
};
