#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QDialog;
class QWidget;

// What a file-open dialog is asked to show. Filter uses the "description|patterns|..." pairs
// of the window description, e.g. "All files (*.*)|*.*|Log files (*.log)|*.log".
struct TFileOpenOptions
{
    QString Title;            // empty: the toolkit's default title
    QString Filter;
    int FilterIndex = 0;      // preselected pair, counted from 0
    QString DefaultExt;       // appended to a typed name without extension; "log" or "*.log"
    QString FileName;         // proposed name
};

// Every modal interaction of the program goes through this interface, so that tests can answer
// with a script instead of blocking in exec(). All calls happen on the user-interface thread;
// parent may be nullptr. Implementations never throw.
class TDialogs
{
public:
    virtual ~TDialogs() = default;

    // The chosen path, or nothing when cancelled. The file need not exist.
    virtual std::optional<QString> OpenFile(QWidget *parent, const TFileOpenOptions &options) = 0;
    // A save dialog: the path to write, or nothing when cancelled. Asks before an existing file
    // is replaced.
    virtual std::optional<QString> SaveFile(QWidget *parent, const TFileOpenOptions &options) = 0;
    // The confirmed font, or nothing when cancelled.
    virtual std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial) = 0;
    // Warning icon, one OK button.
    virtual void WarningBox(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The standard error box: critical icon, one OK button.
    virtual void ErrorBox(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The system's default beep.
    virtual void Beep() = 0;
    // One line of text, or nothing when cancelled.
    virtual std::optional<QString> InputText(QWidget *parent, const QString &caption,
                                             const QString &label, const QString &initial) = 0;
    // Shows an existing dialog modally and returns its result code.
    virtual int RunModal(QDialog &dialog) = 0;
};
