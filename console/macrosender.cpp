#include "macrosender.h"

#include "characterbytes.h"
#include "rtsframedwrite.h"

QString MacroEchoLine(std::u32string_view decoded)
{
    const std::u32string_view shown = decoded.substr(0, decoded.find(U'\0'));
    return QString::fromUcs4(shown.data(), qsizetype(shown.size()));
}

QByteArray MacroBytes(std::u32string_view decoded)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(decoded.size()));
    for (const char32_t character : decoded)
        bytes += CharacterBytes(character);
    return bytes;
}

void WriteMacro(TCommPortDriver &driver, const QByteArray &bytes, bool rtsOnTx)
{
    WriteRtsFramed(driver, bytes, rtsOnTx, kMacroRtsHoldMs);
}
