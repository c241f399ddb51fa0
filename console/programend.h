#pragma once

#include "exithook.h"
#include "quitsignals.h"

#include <QObject>

class TMainForm;

// Ends the program the way the window's Quit does (the window state saved, an open log closed
// without trailer, the port closed) whichever way the end comes:
// - SIGTERM, SIGHUP or SIGINT: the window closes and every event loop ends, also a modal
//   dialog's; the program exits with the shell's status for that signal, 128 + its number;
// - the session manager's save request: the window state is saved at once, since the session
//   may end without another word; the program goes on, as the request may be a mere checkpoint
//   (at the session's end Qt closes the window, which is the Quit path again);
// - the display connection lost (Qt's X11 plugin then calls exit(1) from inside the event loop):
//   the close runs from the exit without hiding the window, whose display is gone.
// None of these asks the user anything: errors go to standard error.
class TProgramEnd : public QObject
{
    Q_OBJECT
public:
    // window must outlive the object.
    explicit TProgramEnd(TMainForm &window);
    ~TProgramEnd() override;

    static int SignalExitStatus(int signalNumber) { return 128 + signalNumber; }

private:
    void EndOnSignal(int signalNumber);
    void SaveForSession();
    void CloseAtExit();

    TMainForm &m_window;
    TQuitSignals m_signals;
    TExitHook m_exitHook;
    bool m_ended = false;
};
