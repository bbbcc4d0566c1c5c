#pragma once
// What the status bar's progress panel says about a running transfer or
// listing, decided without widgets: sizes, speed, time left.

#include "connection/transfer_facts.h"

#include <QString>

#include <optional>

namespace corvexo {

// "512 bytes", "1.5 KB", "20.0 MB", "3.2 GB" (1 KB = 1024 bytes).
QString sizeText(qint64 bytes);
// Bytes per second over the time since the transfer began; nothing before a tenth of a second has passed.
std::optional<qint64> bytesPerSecond(qint64 doneBytes, qint64 elapsedMs);
// Whole seconds until the rest has arrived at this speed; nothing when the total or the speed is unknown.
std::optional<qint64> secondsLeft(qint64 doneBytes, qint64 totalBytes, std::optional<qint64> speed);
// "0:07", "12:30", "1:02:03".
QString durationText(qint64 seconds);
// The panel's line: bytes done (and of how many), speed and time left; or the entries of a listing so far.
QString progressLine(const TransferProgress &progress, qint64 elapsedMs);
// The progress bar's value from 0 to 1000; nothing when the total is unknown.
std::optional<int> progressPermille(const TransferProgress &progress);

} // namespace corvexo
