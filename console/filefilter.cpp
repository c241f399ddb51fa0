#include "filefilter.h"

#include <QRegularExpression>

namespace {

QString PlatformPatterns(const QString &patterns)
{
    QStringList out;
    for (const QString &pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        out << (trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
    }
    return out.join(u' ');
}

QString Description(const QString &text)
{
    // Qt reads the patterns from the last parentheses, so the description must not carry its own.
    static const QRegularExpression shown(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    return QString(text).remove(shown).trimmed();
}

} // namespace

QStringList TFileFilter::NameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = PlatformPatterns(parts.at(i + 1));
        if (!patterns.isEmpty())
            result << QStringLiteral("%1 (%2)").arg(Description(parts.at(i)), patterns);
    }
    return result;
}

QString TFileFilter::Suffix(const QString &defaultExt)
{
    QString suffix = defaultExt.trimmed();
    while (suffix.startsWith(u'*') || suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    return suffix.contains(u'*') ? QString() : suffix;
}
