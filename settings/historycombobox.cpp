#include "historycombobox.h"

#include "apperror.h"
#include "storesection.h"

#include <QCompleter>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

#include <limits>

namespace {

QString EntryName(int index)
{
    return QStringLiteral("H") + QString::number(index);
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
    // A line edit cuts its text at 32,767 characters; a stored macro or history entry is longer
    // at times and must come back whole.
    lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    // By default the box measures every entry for its size hint, which for an entry of megabytes
    // lays out all of its text, for seconds and hundreds of megabytes. The window gives the boxes
    // their width. The entries have no icons: sized for none, the box keeps its height.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setIconSize(QSize(0, 0));
    // The text part would otherwise open its own menu without the box's actions.
    lineEdit()->installEventFilter(this);
}

QMenu *THistoryComboBox::CreateContextMenu()
{
    QMenu *menu = lineEdit() ? lineEdit()->createStandardContextMenu() : new QMenu(this);
    QAction *firstEditAction = menu->actions().value(0);
    menu->insertActions(firstEditAction, m_menuActions);
    if (!m_menuActions.isEmpty())
        menu->insertSeparator(firstEditAction);
    return menu;
}

void THistoryComboBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool THistoryComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::ContextMenu) {
        contextMenuEvent(static_cast<QContextMenuEvent *>(event));
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

QString THistoryComboBox::KeyPath() const
{
    return QStringLiteral("Software\\") + m_key;
}

void THistoryComboBox::LoadHistory()
{
    if (m_key.isEmpty())
        return;
    m_unreadHistory.clear();
    QStringList entries;
    const TStoreSection section(m_store, KeyPath());
    try {
        if (m_store.KeyExists(KeyPath())) {
            for (int i = 0; i < m_maxHistoryLength; ++i) {
                const QString entry = section.ReadString(EntryName(i), QString());
                if (entry.isEmpty())
                    break;
                entries.append(entry);
            }
        }
    } catch (const TAppError &error) {
        m_unreadHistory = error.Message();
        ShowLoaded(entries);
        throw;
    }
    ShowLoaded(entries);
}

void THistoryComboBox::ShowLoaded(const QStringList &entries)
{
    clear();
    // Rows added to an empty box make the first one current, its text laid out in the edit field;
    // the rows come in empty and get their texts once none is current, as a load leaves it.
    model()->insertRows(0, int(entries.size()));
    setCurrentIndex(-1);
    for (int i = 0; i < entries.size(); ++i)
        setItemText(i, entries[i]);
    clearEditText();
}

void THistoryComboBox::SaveHistory()
{
    if (m_key.isEmpty())
        return;
    // The save replaces the whole key: entries the load could not read would be lost for good.
    if (!m_unreadHistory.isEmpty())
        throw TAppError(QStringLiteral("Macro history not saved: part of it could not be read at "
                                       "start (%1), and saving would erase it\n"
                                       "Repair or remove that value under %2 in %3, then start again")
                            .arg(m_unreadHistory, KeyPath(), m_store.FilePath()));
    // A store that cannot lose the key fails the writes below, which report it.
    (void)m_store.DeleteKey(KeyPath());
    AddToHistory(currentText());
    TStoreSection section(m_store, KeyPath());
    // The user asked for the save: a history that did not reach the disk must not pass silently.
    section.Create();
    section.StartBatch();
    for (int i = 0; i < count(); ++i)
        section.WriteString(EntryName(i), itemText(i));
    section.CommitBatch();
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
