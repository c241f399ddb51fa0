#pragma once

#include <QMetaProperty>
#include <QString>

#include <optional>

class QObject;

// The text encodings of stored control properties: integers in decimal, Booleans as "True" /
// "False", other enumerations by member identifier, sets as "[fsBold,fsItalic]", texts trimmed.
namespace PropertyCodec {

enum class TKind { Integer, Boolean, Enumeration, Set, Text, Object, Unsupported };

TKind KindOf(const QMetaProperty &property);
// A writable property by name, case-insensitively; the exact spelling and then the most derived
// class win.
std::optional<QMetaProperty> Find(const QObject *object, const QString &name);
// The published name as stored: Qt's own properties start in lower case ("checked").
QString StoredName(const QMetaProperty &property);

QString Encode(const QObject *object, const QMetaProperty &property);
// Assigns a stored text. A word that names no member leaves a Boolean or enumeration unchanged
// and is left out of a set; a text that is no integer assigns 0.
void Decode(QObject *object, const QMetaProperty &property, const QString &text);

// Without leading and trailing blanks and control characters (codes up to 32).
QString Trim(const QString &text);

} // namespace PropertyCodec
