#pragma once

#include <QByteArray>

// What the simulated board answers to the bytes it receives: every byte is echoed, and a line
// "AT" ended by CR (in any letter case) is answered with "OK" CR LF after the echo.
class TBoardResponder
{
public:
    // Longer lines cannot be a command; keeping only this much bounds memory on endless input.
    static constexpr qsizetype kMaxLine = 256;

    QByteArray Answer(const QByteArray &received);

private:
    QByteArray m_line;
};
