#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>

// Without a platform named and no display, a benchmark draws its window offscreen.
void DrawOffscreenWithoutDisplay();

// Runs this benchmark again with arguments in a process of its own, so that what a case measures
// (time, peak memory) is its own, and waits for it; its output goes where this process's goes.
void RunInChildProcess(const QStringList &arguments);

// The case of that name, or nullptr.
template <typename Case, std::size_t Count>
const Case *FindCase(const Case (&cases)[Count], const QString &name)
{
    for (const Case &test : cases) {
        if (name == QLatin1String(test.name))
            return &test;
    }
    return nullptr;
}
