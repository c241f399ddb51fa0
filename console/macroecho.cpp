#include "macroecho.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The document turns every CR and LF into a line break; only the pair is one in the box.
QString DisplayText(const QString &line)
{
    QString text;
    text.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\r' && i + 1 < line.size() && line.at(i + 1) == u'\n') {
            text += QLatin1Char('\n');
            ++i;
        } else if (c != u'\r' && c != u'\n') {
            text += c;
        }
    }
    return text;
}

} // namespace

void AppendMacroEcho(QPlainTextEdit &box, const QString &line)
{
    QTextCursor cursor = box.textCursor();
    cursor.movePosition(QTextCursor::End);
    const bool lastLineEmpty = cursor.block().text().isEmpty();
    const QString text = DisplayText(line);
    cursor.insertText(lastLineEmpty ? text + QLatin1Char('\n') : QLatin1Char('\n') + text);
    box.setTextCursor(cursor);
}
