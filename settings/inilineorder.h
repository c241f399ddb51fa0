#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Where the keys of an INI file stand in it, which QSettings forgets: each key's path as QSettings
// reports it ("Software/VELORAND/Ports/COM1") mapped to the line that sets it, the last one when
// the file sets it twice. Lines are numbered from 0.
QHash<QString, int> IniLineOrder(const QByteArray &content);
