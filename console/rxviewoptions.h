#pragma once

#include "timestamper.h"

#include <QString>

struct TReceiveOptions;

// How the receive box shows what arrived, beyond the designed window: the time stamps' form and
// whether the log takes it too, how many lines the box keeps, dump rows in HEX mode. Kept in the
// user's store under Software\VELORAND\Options, one text value each; a value that is missing or
// malformed reads as its default, the designed behaviour.
struct TRxViewOptions
{
    static constexpr int kKeptLines = 100000;
    static constexpr auto kStampFormat = "TimeStampFormat";
    static constexpr auto kStampsInLog = "TimeStampInLog";
    static constexpr auto kScrollBack = "ScrollBack";
    static constexpr auto kHexDumpRows = "HexDumpRows";

    TStampFormat StampFormat = TStampFormat::Regional;
    bool StampsInLog = false;
    bool KeepScrollBack = false;
    bool HexDumpRows = false;

    static TRxViewOptions Load();
    // Takes the stored text of the value of that name; a malformed text gives the default.
    void Set(const QString &name, const QString &text);
    // The stored text of the value of that name.
    QString Text(const QString &name) const;
    void ApplyTo(TReceiveOptions &options) const;
};
