#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The command line of the simulated board.
struct TDevSimOptions {
    int ComNumber = 0;            // 1..6 to enter the device into the port map, 0 not to
    QString LinkPath;             // a stable symlink to the device, empty for none
    bool Quiet = false;           // no sensor line every second
    std::int64_t FloodRate = 0;   // bytes per second of flood payload, 0 for no flood
    QByteArray FloodPattern;      // empty: generated 64-byte lines
    std::int64_t Baud = 0;        // the line rate the board sends at, 0 for as fast as the client reads
};

// The options, or nothing after printing the reason (or the help) to the right stream;
// exitCode then says how the program should end.
std::optional<TDevSimOptions> ParseDevSimOptions(const QStringList &arguments, int &exitCode);
