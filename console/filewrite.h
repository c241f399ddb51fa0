#pragma once

#include <QByteArrayView>
#include <QString>

// Writes all of the bytes to the descriptor, going on after partial writes and interruptions.
// Throws TAppError with the file error text of a failed write.
void WriteAll(int fd, const char *data, qsizetype size);

// Creates the file, or empties an existing one, and writes the bytes into it unchanged. Throws
// TAppError with the file error text when the create, a write or the close fails; a file that
// fails half way keeps what was written.
void SaveFile(const QString &path, QByteArrayView data);
