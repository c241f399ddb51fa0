#include "inilineorder.h"

#include <QList>

namespace {

// QSettings' spelling of a key in the file: "\" separates levels, "%XX" and "%UXXXX" stand for
// characters that a key cannot hold as they are.
QString UnescapedKey(const QByteArray &raw)
{
    const QString text = QString::fromUtf8(raw);
    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            key += u'/';
            continue;
        }
        const bool wide = c == u'%' && i + 1 < text.size() && text[i + 1] == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = false;
        const ushort code = c == u'%' && first + digits <= text.size()
            ? QStringView(text).sliced(first, digits).toUShort(&ok, 16)
            : 0;
        if (ok) {
            key += QChar(code);
            i = first + digits - 1;
        } else {
            key += c;
        }
    }
    return key;
}

QString SectionPrefix(const QByteArray &line)
{
    const qsizetype end = line.indexOf(']');
    const QByteArray name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.mid(1)) + u'/';
    return UnescapedKey(name) + u'/';
}

} // namespace

QHash<QString, int> IniLineOrder(const QByteArray &content)
{
    QHash<QString, int> order;
    QString prefix;
    const QList<QByteArray> lines = content.split('\n');
    for (int number = 0; number < lines.size(); ++number) {
        const QByteArray line = lines[number].trimmed();
        if (line.startsWith('[')) {
            prefix = SectionPrefix(line);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || line.startsWith(';') || line.startsWith('#'))
            continue;
        order.insert(prefix + UnescapedKey(line.left(equals).trimmed()), number);
    }
    return order;
}
