#include "propertycodec.h"

#include "storesection.h"

#include <QFont>
#include <QMetaEnum>
#include <QObject>
#include <QRegularExpression>

namespace {

bool IsInteger(int typeId)
{
    switch (typeId) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

std::optional<int> MemberValue(const QMetaEnum &members, const QString &word)
{
    for (int i = 0; i < members.keyCount(); ++i) {
        if (word.compare(QLatin1String(members.key(i)), Qt::CaseInsensitive) == 0)
            return members.value(i);
    }
    return std::nullopt;
}

QString EncodeSet(const QMetaEnum &members, int value)
{
    QStringList present;
    for (int i = 0; i < members.keyCount(); ++i) {
        const int member = members.value(i);
        if (member != 0 && (value & member) == member)
            present.append(QLatin1String(members.key(i)));
    }
    return QLatin1Char('[') + present.join(QLatin1Char(',')) + QLatin1Char(']');
}

int DecodeSet(const QMetaEnum &members, const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[ ,\\[\\]]+"));
    int value = 0;
    for (const QString &word : text.split(separators, Qt::SkipEmptyParts))
        value |= MemberValue(members, word).value_or(0);
    return value;
}

} // namespace

namespace PropertyCodec {

TKind KindOf(const QMetaProperty &property)
{
    if (property.isFlagType())
        return TKind::Set;
    if (property.isEnumType())
        return TKind::Enumeration;
    const QMetaType type = property.metaType();
    if (type.id() == QMetaType::Bool)
        return TKind::Boolean;
    if (IsInteger(type.id()))
        return TKind::Integer;
    if (type.id() == QMetaType::QString)
        return TKind::Text;
    if (type.id() == QMetaType::QFont || (type.flags() & QMetaType::PointerToQObject))
        return TKind::Object;
    return TKind::Unsupported;
}

std::optional<QMetaProperty> Find(const QObject *object, const QString &name)
{
    const QMetaObject *meta = object->metaObject();
    const int exact = meta->indexOfProperty(name.toLatin1().constData());
    if (exact >= 0 && meta->property(exact).isWritable())
        return meta->property(exact);
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        const QMetaProperty property = meta->property(i);
        if (property.isWritable()
            && name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0)
            return property;
    }
    return std::nullopt;
}

QString StoredName(const QMetaProperty &property)
{
    QString name = QString::fromLatin1(property.name());
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

QString Encode(const QObject *object, const QMetaProperty &property)
{
    const QVariant value = property.read(object);
    switch (KindOf(property)) {
    case TKind::Set:
        return EncodeSet(property.enumerator(), value.toInt());
    case TKind::Enumeration:
        return QLatin1String(property.enumerator().valueToKey(value.toInt()));
    case TKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TKind::Integer:
        return QString::number(value.toLongLong());
    case TKind::Text:
        return Trim(value.toString());
    case TKind::Object:
    case TKind::Unsupported:
        break;
    }
    return QString();
}

void Decode(QObject *object, const QMetaProperty &property, const QString &text)
{
    switch (KindOf(property)) {
    case TKind::Set:
        property.write(object, DecodeSet(property.enumerator(), text));
        break;
    case TKind::Enumeration:
        if (const std::optional<int> member = MemberValue(property.enumerator(), text))
            property.write(object, *member);
        break;
    case TKind::Boolean:
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            property.write(object, true);
        else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            property.write(object, false);
        break;
    case TKind::Integer:
        property.write(object, TStoreSection::ParseInteger(text, 0));
        break;
    case TKind::Text:
        property.write(object, Trim(text));
        break;
    case TKind::Object:
    case TKind::Unsupported:
        break;
    }
}

QString Trim(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 0x20)
        ++first;
    while (last > first && text[last - 1].unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

} // namespace PropertyCodec
