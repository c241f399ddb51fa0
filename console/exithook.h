#pragma once

#include <functional>

// Runs an action when the thread that made the hook ends the process through exit() while the
// hook lives, as Qt's X11 plugin does from inside the event loop when the display goes away. Then
// no destructor of the program's own objects runs, but the action still finds them, and Qt's
// globals, alive. Leaving main() normally destroys the hook first, so the action never runs then.
// One hook per thread at a time; the action must not throw.
class TExitHook
{
public:
    explicit TExitHook(std::function<void()> action);
    ~TExitHook();
    TExitHook(const TExitHook &) = delete;
    TExitHook &operator=(const TExitHook &) = delete;
};
