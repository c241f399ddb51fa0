#include "storesection.h"

#include "apperror.h"

namespace {

QString Quoted(const char *format, const QString &name)
{
    return QString::fromLatin1(format).arg(name);
}

} // namespace

TStoreSection::TStoreSection(const TUserStore &store, const QString &keyPath)
    : m_store(store)
    , m_keyPath(keyPath)
{
}

QString TStoreSection::ReadString(const QString &name, const QString &defaultText) const
{
    if (!m_badValuesAsMissing)
        return Read(name, defaultText);
    try {
        return Read(name, defaultText);
    } catch (const TAppError &error) {
        m_problems.append(error.Message());
        return defaultText;
    }
}

QString TStoreSection::Read(const QString &name, const QString &defaultText) const
{
    switch (m_store.ValueType(m_keyPath, name)) {
    case TUserStore::TValueType::Missing:
        return defaultText;
    case TUserStore::TValueType::NotText:
        throw TAppError(Quoted("Invalid data type for '%1'", name));
    case TUserStore::TValueType::Text:
        break;
    }
    const std::optional<QString> text = m_store.ReadText(m_keyPath, name);
    if (!text)
        throw TAppError(Quoted("Failed to get data for '%1'", name));
    return *text;
}

int TStoreSection::ReadInteger(const QString &name, int defaultValue) const
{
    const QString text = ReadString(name, QString());
    return text.isEmpty() ? defaultValue : ParseInteger(text, defaultValue);
}

void TStoreSection::Create()
{
    if (!m_store.CreateKey(m_keyPath))
        throw TAppError(Quoted("Failed to create key %1", m_keyPath) + Reason());
}

void TStoreSection::WriteString(const QString &name, const QString &text)
{
    m_pending.append({name, text});
    if (!m_batching)
        CommitBatch();
}

void TStoreSection::CommitBatch()
{
    m_batching = false;
    if (m_pending.isEmpty())
        return;
    const QList<std::pair<QString, QString>> pending = std::exchange(m_pending, {});
    Create();
    if (!m_store.WriteTexts(m_keyPath, pending))
        throw TAppError(Quoted("Failed to set data for '%1'", pending.first().first) + Reason());
}

QString TStoreSection::Reason() const
{
    return QLatin1Char('\n') + m_store.LastError();
}

void TStoreSection::WriteInteger(const QString &name, int value)
{
    WriteString(name, QString::number(value));
}

int TStoreSection::ParseInteger(const QString &text, int defaultValue)
{
    bool ok = false;
    const bool hex = text.size() > 2
        && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")));
    const int value = hex ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}
