#pragma once
// One entry of a folder listing as the parser keeps it.

#include <QtGlobal>
#include <limits>

namespace corvexo::ftp {

struct ParsedEntry {
    enum class Kind : quint8 { File, Folder, Link };   // Link: a link whose target's kind is not known yet
    static constexpr qint64 NoTime = std::numeric_limits<qint64>::min();

    // Kept small: a listing may hold a million entries.
    qint64 size = -1;
    qint64 modified = NoTime;     // milliseconds since 1970 as the server wrote them
    quint32 nameOffset = 0;       // the link's target, if named, follows the name
    quint16 nameLength = 0;
    quint16 targetLength : 13 = 0;   // at most FtpListingParser::MaxNameBytes
    bool modifiedIsUtc : 1 = false;  // MLSD and EPLF give UTC; LIST gives the server's clock
    Kind kind : 2 = Kind::File;
};
static_assert(sizeof(ParsedEntry) == 24);

} // namespace corvexo::ftp
