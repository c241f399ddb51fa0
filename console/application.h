#pragma once

#include <QPointer>
#include <QString>

#include <concepts>
#include <functional>
#include <memory>

class QWidget;
class TDialogs;

// The program-wide services every handler relies on: the application title (what the task bar
// shows for the program, and the caption of the error box), the dialog interface, the standard
// error box, and the guard that keeps exceptions out of Qt's event dispatch. From its creation on,
// a write into a pipe whose reader has gone or past the file-size limit fails with an error
// instead of ending the program.
// Needs a QApplication; not a singleton, so each test can build its own with scripted dialogs.
class TApplication
{
public:
    // dialogs: not owned; nullptr means Qt's own dialogs, owned by the application.
    explicit TApplication(TDialogs *dialogs = nullptr);
    ~TApplication();
    TApplication(const TApplication &) = delete;
    TApplication &operator=(const TApplication &) = delete;

    QString Title() const { return m_title; }
    void SetTitle(const QString &title);
    // The window that stands for the program in the task bar: its icon name follows the title,
    // while its caption stays its own. Not owned.
    void SetMainWindow(QWidget *window);
    TDialogs &Dialogs() const { return *m_dialogs; }

    // The standard error box: the title as caption, ErrorText(text) as text. While the program
    // ends unattended the text goes to standard error instead, as nobody is there to answer a box.
    void ShowError(const QString &text) const;
    bool Unattended() const { return m_unattended; }
    void SetUnattended(bool unattended) { m_unattended = unattended; }
    // The text with a full stop added when its last character sorts after ".".
    static QString ErrorText(const QString &text);

    // Runs handler; whatever it throws ends it and is shown in the standard error box.
    void Run(const std::function<void()> &handler) const noexcept;

    // A callable for connect() or an event property that runs the member handler through Run.
    // What the signal or event passes beyond the handler's parameters (the sender of a
    // notification) is dropped, as connect() drops a signal's extra arguments.
    template <typename Object, typename... Args>
    auto Guard(Object *object, void (Object::*handler)(Args...)) const
    {
        return [this, object, handler](Args... args, auto &&...) { Run([&] { (object->*handler)(args...); }); };
    }
    template <std::invocable Handler>
    auto Guard(Handler handler) const
    {
        return [this, handler](auto &&...) { Run(handler); };
    }

private:
    std::unique_ptr<TDialogs> m_ownDialogs;
    TDialogs *m_dialogs;
    QString m_title;
    QPointer<QWidget> m_mainWindow;
    bool m_unattended = false;
};
