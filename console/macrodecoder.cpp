#include "macrodecoder.h"

namespace {

// Positions past the end read as a character that is neither a digit nor an escape sign.
char At(const QByteArray &text, qsizetype i)
{
    return i < text.size() ? text.at(i) : '\0';
}

int DecimalDigitValue(char character)
{
    return character >= '0' && character <= '9' ? character - '0' : 0;
}

} // namespace

std::uint8_t HexDigitValue(char character)
{
    if (character >= '0' && character <= '9')
        return character - '0';
    if (character >= 'A' && character <= 'F')
        return character - 'A' + 10;
    if (character >= 'a' && character <= 'f')
        return character - 'a' + 10;
    return 0;
}

QByteArray DecodeMacro(const QByteArray &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text.at(i);
        if ((c == '#' || c == '$') && At(text, i + 1) == c) {
            bytes.append(c);
            i += 2;
        } else if (c == '#') {
            const int value = 100 * DecimalDigitValue(At(text, i + 1)) + 10 * DecimalDigitValue(At(text, i + 2))
                + DecimalDigitValue(At(text, i + 3));
            bytes.append(static_cast<char>(value % 256));
            i += 4;
        } else if (c == '$') {
            bytes.append(static_cast<char>(16 * HexDigitValue(At(text, i + 1)) + HexDigitValue(At(text, i + 2))));
            i += 3;
        } else {
            bytes.append(c);
            ++i;
        }
    }
    return bytes;
}
