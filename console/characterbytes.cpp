#include "characterbytes.h"

#include <QString>

QByteArray CharacterBytes(char32_t character)
{
    if (character <= 0xFF)
        return QByteArray(1, char(character));
    return QString::fromUcs4(&character, 1).toUtf8();
}
