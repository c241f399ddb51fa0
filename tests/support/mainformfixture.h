#pragma once

#include "application.h"
#include "mainform.h"
#include "scripteddialogs.h"
#include "tempconfighome.h"

#include <QString>

#include <memory>

class TPseudoTerminal;
class TSerialPlatform;

// Everything a GUI test of the main window needs, built in the right order: a temporary per-user
// store, scripted dialogs, the application object titled as at start, and the window itself
// (not shown). platform: nullptr for the real serial layer (map COM ports to pseudo-terminals),
// or a fake; not owned. The store says the window was last closed in its normal state, so that
// a shown window keeps the size a test gives it instead of opening maximized.
class TMainFormFixture
{
public:
    explicit TMainFormFixture(TSerialPlatform *platform = nullptr);
    // Also ends the port mappings made for this run, which outlive any window.
    ~TMainFormFixture();

    TTempConfigHome Home;
    TScriptedDialogs Dialogs;
    TApplication App;

    TMainForm &Form() const { return *m_form; }
    // A control of the window by its name; fails the test's QVERIFY when missing.
    template <typename T>
    T *Control(const char *name) const
    {
        return m_form->findChild<T *>(QString::fromLatin1(name));
    }
    // A left click on the push button of that name.
    void Click(const char *button) const;
    // COM<number> opens devicePath from now on (the window's item tooltips follow).
    void MapPort(int number, const QString &devicePath);
    // Maps COM1 to the pseudo-terminal's slave and clicks Connect; true when the port is open.
    bool ConnectCom1(const TPseudoTerminal &pty);
    // Destroys the window and builds it again on the same store, as a restart of the program.
    void Restart();
    // The store section of the window state: "Software\" + the test's executable name +
    // "\WindowState".
    static QString StateSection();

private:
    TSerialPlatform *m_platform;
    std::unique_ptr<TMainForm> m_form;
};
