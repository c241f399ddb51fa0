#pragma once

#include <QByteArray>

// A hex dump row as a person would write it out: the offset in eight hex digits, two blanks, the
// values with a blank between them, padded to sixteen, two blanks, the printable characters.
inline QByteArray DumpRow(qint64 offset, const QByteArray &bytes)
{
    QByteArray chars;
    for (const char byte : bytes)
        chars += byte >= 0x20 && byte < 0x7F ? byte : '.';
    return QByteArray::number(offset, 16).toUpper().rightJustified(8, '0') + "  "
           + bytes.toHex(' ').toUpper().leftJustified(47, ' ') + "  " + chars;
}
