#include "macroecho.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The document turns every CR and LF into a line break; only the pair is one in the box.
QString DisplayText(const QByteArray &line)
{
    QString text;
    text.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '\r' && i + 1 < line.size() && line.at(i + 1) == '\n') {
            text += QLatin1Char('\n');
            ++i;
        } else if (c != '\r' && c != '\n') {
            text += QChar(static_cast<uchar>(c));
        }
    }
    return text;
}

} // namespace

void AppendMacroEcho(QPlainTextEdit &box, const QByteArray &line)
{
    QTextCursor cursor = box.textCursor();
    cursor.movePosition(QTextCursor::End);
    const bool lastLineEmpty = cursor.block().text().isEmpty();
    const QString text = DisplayText(line);
    cursor.insertText(lastLineEmpty ? text + QLatin1Char('\n') : QLatin1Char('\n') + text);
    box.setTextCursor(cursor);
}
