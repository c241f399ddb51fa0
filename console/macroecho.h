#pragma once

#include <QString>

class QPlainTextEdit;

// Adds a sent macro's text to the transmit box as a line of its own, the way the box's line
// operation Add does: after the last line when that one is empty, else after a new line break.
// Characters show as themselves, except line ends: CR LF breaks the line, as it does in the box,
// while a CR or LF on its own has no mark to show and is left out of the display. The caret ends
// after the new text, so typing goes on there.
void AppendMacroEcho(QPlainTextEdit &box, const QString &line);
