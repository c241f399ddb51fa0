#pragma once

#include "userstore.h"

#include <QComboBox>
#include <QList>

class QAction;
class QMenu;

// An editable combo box whose drop-down list is a most-recent-first history kept in the per-user
// store under "Software\" + Key, one text value per entry ("H0" newest, "H1", ...).
class THistoryComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString Key READ Key WRITE SetKey)
    Q_PROPERTY(int MaxHistoryLength READ MaxHistoryLength WRITE SetMaxHistoryLength)
    // The edit text, by the name the stored window state uses.
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit THistoryComboBox(QWidget *parent = nullptr);

    // Path of the history's key below "Software"; empty switches storage off.
    QString Key() const { return m_key; }
    void SetKey(const QString &key) { m_key = key; }
    // The most entries the history keeps and a load reads.
    int MaxHistoryLength() const { return m_maxHistoryLength; }
    void SetMaxHistoryLength(int length) { m_maxHistoryLength = length; }
    QString Text() const { return currentText(); }
    void SetText(const QString &text) { setEditText(text); }
    // The store to use instead of the current user's.
    void SetStore(const TUserStore &store) { m_store = store; }

    // Replaces the edit text and the list with the stored history. Throws TAppError when a
    // stored entry is not a text or cannot be read; the entries before it stay in the list.
    void LoadHistory();
    // Adds the edit text to the history and writes the whole history. Throws TAppError when the
    // key cannot be created or an entry cannot be written, and, writing nothing, when the last
    // load stopped at an entry it could not read.
    void SaveHistory();
    // Puts a text at the top of the history without writing anything; the edit text stays.
    void AddToHistory(const QString &text);

    // Actions offered at the top of the box's context menu, above the standard edit actions; not
    // owned, and they must live as long as the box. The menu comes up for a right click and for
    // the menu key, on the text and on the arrow alike.
    void SetMenuActions(const QList<QAction *> &actions) { m_menuActions = actions; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenu *CreateContextMenu();
    QString KeyPath() const;
    void ShowLoaded(const QStringList &entries);
    void RemoveDuplicatesOfTop();
    void KeepWithinLength();

    QString m_key;
    int m_maxHistoryLength = 7;
    TUserStore m_store;
    // Why the last load stopped early; empty when it read the whole history.
    QString m_unreadHistory;
    QList<QAction *> m_menuActions;
};
