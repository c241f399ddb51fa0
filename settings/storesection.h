#pragma once

#include "userstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// One section of the store (a key such as "Software\velorand\WindowState") read and written as
// named texts and integers, with the window state's error texts thrown as TAppError.
class TStoreSection
{
public:
    TStoreSection(const TUserStore &store, const QString &keyPath);

    QString KeyPath() const { return m_keyPath; }

    // The default when the section or the value is missing. Throws "Invalid data type for '%s'"
    // for a value that is not a text, "Failed to get data for '%s'" when it cannot be read.
    QString ReadString(const QString &name, const QString &defaultText) const;
    // From now on a value that cannot be read gives the default instead of throwing, and its error
    // is kept in Problems(): for a pass that must go on, and overwrite the value when it saves.
    void ReadBadValuesAsMissing() { m_badValuesAsMissing = true; }
    QStringList Problems() const { return m_problems; }
    // As ReadString; a text that is not an integer gives the default.
    int ReadInteger(const QString &name, int defaultValue) const;
    // Creates the section when missing; throws "Failed to create key %s" when it cannot.
    void Create();
    // Creates the section when missing. Throws "Failed to create key %s" or
    // "Failed to set data for '%s'" when the write does not reach the disk. Every failure's message
    // has a second line naming the file and the reason ("...: Permission denied").
    void WriteString(const QString &name, const QString &text);
    void WriteInteger(const QString &name, int value);

    // Keeps the following writes until CommitBatch(), which writes them to the disk at once.
    // Each write to the disk waits for the disk; a pass of fifty values would take half a second.
    void StartBatch() { m_batching = true; }
    // Throws as WriteString, naming the first kept value; then none of them is written.
    void CommitBatch();

    // Decimal, or hexadecimal after "0x" / "0X"; the default when the text is no 32-bit integer.
    static int ParseInteger(const QString &text, int defaultValue);

private:
    QString Read(const QString &name, const QString &defaultText) const;
    // The second line of a write failure's message.
    QString Reason() const;

    TUserStore m_store;
    QString m_keyPath;
    bool m_batching = false;
    bool m_badValuesAsMissing = false;
    mutable QStringList m_problems;
    QList<std::pair<QString, QString>> m_pending;
};
