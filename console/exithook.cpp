#include "exithook.h"

#include <QtGlobal>

#include <utility>

namespace {

struct TArmedAction
{
    std::function<void()> Action;

    ~TArmedAction()
    {
        if (Action)
            std::exchange(Action, nullptr)();
    }
};

// exit() destroys the calling thread's thread_local objects before any object of static storage
// duration and before the functions given to atexit(), so the action runs while the globals it
// relies on are still there.
thread_local TArmedAction t_armed;

} // namespace

TExitHook::TExitHook(std::function<void()> action)
{
    Q_ASSERT(!t_armed.Action);
    t_armed.Action = std::move(action);
}

TExitHook::~TExitHook()
{
    t_armed.Action = nullptr;
}
