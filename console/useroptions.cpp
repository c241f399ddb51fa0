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
    return Text(name) == QStringLiteral("True");
}

void SetFlag(const QString &name, bool on)
{
    SetText(name, on ? QStringLiteral("True") : QStringLiteral("False"));
}

std::optional<QString> Text(const QString &name)
{
    return TUserStore().ReadText(Key(), name);
}

void SetText(const QString &name, const QString &text)
{
    TUserStore store;
    if (!store.WriteText(Key(), name, text))
        throw TAppError(QStringLiteral("Cannot store the option %1\n%2").arg(name, store.LastError()));
}

} // namespace UserOptions
