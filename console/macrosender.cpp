#include "macrosender.h"

#include "characterbytes.h"
#include "commportdriver.h"

#include <QThread>

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
    if (rtsOnTx)
        driver.SetRTS(true);
    driver.WriteBytes(bytes.constData(), static_cast<std::int32_t>(bytes.size()));
    if (rtsOnTx) {
        QThread::msleep(kMacroRtsHoldMs);
        driver.SetRTS(false);
    }
}
