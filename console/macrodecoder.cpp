#include "macrodecoder.h"

#include <QList>

#include <string_view>

namespace {

// Positions past the end read as a character that is neither a digit nor an escape sign.
char32_t At(std::u32string_view text, std::size_t i)
{
    return i < text.size() ? text[i] : U'\0';
}

int DecimalDigitValue(char32_t character)
{
    return character >= U'0' && character <= U'9' ? int(character - U'0') : 0;
}

} // namespace

std::uint8_t HexDigitValue(char32_t character)
{
    if (character >= U'0' && character <= U'9')
        return std::uint8_t(character - U'0');
    if (character >= U'A' && character <= U'F')
        return std::uint8_t(character - U'A' + 10);
    if (character >= U'a' && character <= U'f')
        return std::uint8_t(character - U'a' + 10);
    return 0;
}

std::u32string DecodeMacro(QStringView source)
{
    const QList<uint> codes = source.toUcs4();
    const std::u32string text(codes.begin(), codes.end());
    std::u32string decoded;
    decoded.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = text[i];
        if ((c == U'#' || c == U'$') && At(text, i + 1) == c) {
            decoded += c;
            i += 2;
        } else if (c == U'#') {
            const int value = 100 * DecimalDigitValue(At(text, i + 1)) + 10 * DecimalDigitValue(At(text, i + 2))
                + DecimalDigitValue(At(text, i + 3));
            decoded += char32_t(value % 256);
            i += 4;
        } else if (c == U'$') {
            decoded += char32_t(16 * HexDigitValue(At(text, i + 1)) + HexDigitValue(At(text, i + 2)));
            i += 3;
        } else {
            decoded += c;
            ++i;
        }
    }
    return decoded;
}
