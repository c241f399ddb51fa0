#pragma once

#include <QTemporaryDir>

// Points the per-user configuration at a fresh temporary folder for the lifetime of the object,
// so that no test reads or writes the real user's files.
class TTempConfigHome
{
public:
    TTempConfigHome();
    ~TTempConfigHome();
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};
