#include "historycombobox.h"

#include "apperror.h"

#include <QCompleter>

namespace {

QString EntryName(int index)
{
    return QStringLiteral("H") + QString::number(index);
}

QString Quoted(const char *format, const QString &name)
{
    return QString::fromLatin1(format).arg(name);
}

} // namespace

THistoryComboBox::THistoryComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The list changes only through the history operations, never by pressing Enter.
    setInsertPolicy(QComboBox::NoInsert);
    // Completion must not change the case of what is typed: "ABC" and "abc" are different macros.
    completer()->setCaseSensitivity(Qt::CaseSensitive);
}

QString THistoryComboBox::KeyPath() const
{
    return QStringLiteral("Software\\") + m_key;
}

void THistoryComboBox::LoadHistory()
{
    if (m_key.isEmpty())
        return;
    QStringList entries;
    try {
        if (m_store.KeyExists(KeyPath())) {
            for (int i = 0; i < m_maxHistoryLength; ++i) {
                const QString entry = ReadEntry(EntryName(i));
                if (entry.isEmpty())
                    break;
                entries.append(entry);
            }
        }
    } catch (const TAppError &) {
        ShowLoaded(entries);
        throw;
    }
    ShowLoaded(entries);
}

QString THistoryComboBox::ReadEntry(const QString &name) const
{
    switch (m_store.ValueType(KeyPath(), name)) {
    case TUserStore::TValueType::Missing:
        return QString();
    case TUserStore::TValueType::NotText:
        throw TAppError(Quoted("Invalid data type for '%1'", name));
    case TUserStore::TValueType::Text:
        break;
    }
    const std::optional<QString> text = m_store.ReadText(KeyPath(), name);
    if (!text)
        throw TAppError(Quoted("Failed to get data for '%1'", name));
    return *text;
}

void THistoryComboBox::ShowLoaded(const QStringList &entries)
{
    clear();
    addItems(entries);
    // Adding to an empty box selects the first item; a load leaves the edit text empty.
    setCurrentIndex(-1);
    clearEditText();
}

void THistoryComboBox::SaveHistory()
{
    if (m_key.isEmpty())
        return;
    m_store.DeleteKey(KeyPath());
    AddToHistory(currentText());
    // Saving is asked for by the user: a history that did not reach the disk must not pass
    // silently.
    if (!m_store.CreateKey(KeyPath()))
        throw TAppError(Quoted("Failed to create key %1", KeyPath()));
    for (int i = 0; i < count(); ++i) {
        if (!m_store.WriteText(KeyPath(), EntryName(i), itemText(i)))
            throw TAppError(Quoted("Failed to set data for '%1'", EntryName(i)));
    }
}

void THistoryComboBox::AddToHistory(const QString &text)
{
    if (text.isEmpty())
        return;
    // Moving items around moves the current index, and with it the edit text; keep it.
    const QString edit = currentText();
    insertItem(0, text);
    RemoveDuplicatesOfTop();
    KeepWithinLength();
    setCurrentIndex(findText(edit, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setEditText(edit);
}

void THistoryComboBox::RemoveDuplicatesOfTop()
{
    const QString top = itemText(0);
    for (int i = count() - 1; i >= 1; --i) {
        if (itemText(i) == top)
            removeItem(i);
    }
}

void THistoryComboBox::KeepWithinLength()
{
    const int keep = qMax(m_maxHistoryLength, 1);
    while (count() > keep)
        removeItem(count() - 1);
}
