#pragma once

#include <QByteArray>

// What a character of the boxes goes out as on the line: one of the single-byte set
// (U+0000..U+00FF) as its own byte, any other in UTF-8.
QByteArray CharacterBytes(char32_t character);
