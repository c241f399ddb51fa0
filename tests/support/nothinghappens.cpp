#include "nothinghappens.h"

#include <QDeadlineTimer>
#include <QTest>

bool NothingHappensWithin(int ms, const std::function<bool()> &happened)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (happened())
            return false;
        QTest::qWait(5);
    }
    return !happened();
}
