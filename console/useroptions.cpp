#include "useroptions.h"

#include "apperror.h"
#include "userstore.h"

namespace UserOptions {

QString Key()
{
    return QStringLiteral("Software\\VELORAND\\Options");
}

bool Flag(const QString &name)
{
    return TUserStore().ReadText(Key(), name) == QStringLiteral("True");
}

void SetFlag(const QString &name, bool on)
{
    TUserStore store;
    if (!store.WriteText(Key(), name, on ? QStringLiteral("True") : QStringLiteral("False")))
        throw TAppError(QStringLiteral("Cannot store the option %1\n%2").arg(name, store.LastError()));
}

} // namespace UserOptions
