#pragma once

#include <QString>
#include <QStringList>

// Turns the "description|patterns|..." filter of a window description into Qt name filters.
// "*.*" means every file there, while on this platform it would hide names without a dot,
// so it becomes "*".
class TFileFilter
{
public:
    // One name filter per complete pair; a trailing description without patterns is dropped.
    static QStringList NameFilters(const QString &filter);
    // "*.log", ".log" and "log" all give "log"; "*" and "*.*" give nothing.
    static QString Suffix(const QString &defaultExt);
};
